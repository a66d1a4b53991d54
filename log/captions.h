#pragma once
// A dialog's fixed captions (labels, check-box texts) in the operator's
// language, set by its logic when it opens.

#include <initializer_list>

#include "log/text.h"
#include "platform/dialog_view.h"

namespace korvex {

struct DialogCaption {
    int id;
    Text text;
};

inline void ShowCaptions(DialogView& view, int language,
                         std::initializer_list<DialogCaption> captions) {
    for (const DialogCaption& c : captions) view.setText(c.id, Caption(language, c.text));
}

}  // namespace korvex
