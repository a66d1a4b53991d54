#pragma once
// What a dialog's logic sees of its window: controls by id, the drawing
// areas and the end of the dialog. The Qt front end and the headless
// recording view implement it; dialog classes never touch widgets.

#include <string>

namespace korvex {

class Canvas;

class DialogView {
  public:
    virtual ~DialogView() = default;
    virtual void setText(int id, const std::string& utf8) = 0;
    virtual std::string text(int id) const = 0;
    virtual void setCheck(int id, bool checked) = 0;
    virtual bool isChecked(int id) const = 0;
    virtual void enable(int id, bool enabled) = 0;
    virtual void setScrollRange(int id, int min, int max) = 0;
    virtual void setScrollPos(int id, int pos) = 0;
    virtual int scrollPos(int id) const = 0;
    // The drawing area of the dialog (id 0: the whole client area).
    virtual Canvas& canvas(int id = 0) = 0;
    // Asks for onPaint() to be called again soon.
    virtual void invalidate() = 0;
    // Ends the modal dialog with `result`.
    virtual void end(int result) = 0;
};

// The result codes dialogs end with.
enum DialogResult { kResultOk = 1, kResultCancel = 2 };

// Scroll requests, as the window system sends them.
enum ScrollRequest {
    kScrollLineUp,
    kScrollLineDown,
    kScrollPageUp,
    kScrollPageDown,
    kScrollThumbPosition,
    kScrollThumbTrack,
    kScrollTop,
    kScrollBottom,
    kScrollEnd
};

}  // namespace korvex
