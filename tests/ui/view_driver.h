#pragma once
// A dialog's view read and typed into: the texts of its controls in one
// line, " | " apart, to check a form's fields at once; an edit's text
// replaced as one change.

#include <initializer_list>
#include <string>

#include "platform/dialog_view.h"

namespace korvex::test {

inline std::string Texts(const DialogView& view, std::initializer_list<int> ids) {
    std::string out, separator;
    for (int id : ids) {
        out += separator + view.text(id);
        separator = " | ";
    }
    return out;
}

template <class Dialog>
void Type(DialogView& view, Dialog& dialog, int id, const std::string& text) {
    view.setText(id, text);
    dialog.onEditChange(id);
}

}  // namespace korvex::test
