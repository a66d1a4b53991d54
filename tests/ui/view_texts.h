#pragma once
// The texts of a window's controls in one line, " | " apart: a form's
// fields checked at once.

#include <initializer_list>
#include <string>

#include "platform/dialog_view.h"

namespace korvex::test {

inline std::string Texts(const DialogView& view, std::initializer_list<int> ids) {
    std::string out;
    for (int id : ids) out += (out.empty() ? "" : " | ") + view.text(id);
    return out;
}

}  // namespace korvex::test
