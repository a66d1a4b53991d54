#pragma once
// The Qt side of a window's logic: a generic binder over a Designer form
// whose widgets carry their control id in the dynamic property "ctrlId".
//
// What the binder keeps (the logic classes rely on it):
// - setText never reports an edit; only the user's edits reach
//   onEditChange (QLineEdit::textEdited).
// - The logic owns checked states: Qt's own toggle of a clicked check box,
//   radio or push-like button is undone before onCommand, and radios are
//   not auto-exclusive.
// - invalidate() during onPaint() is ignored.
// - Timers belong to the view; close requests go through onClose.
// - A control's drawing area (canvas(id) of a plain widget) is painted on
//   that control, and shown again each time the logic fetches it.
// - addListLine from another thread is queued to the window's thread.

#include <QObject>
#include <QPoint>
#include <QPointer>
#include <functional>
#include <map>
#include <memory>

#include "platform/qimage_canvas.h"
#include "ui/window_view.h"

class QMenuBar;
class QMenu;
class QWidget;
class QAction;

namespace korvex {

// The handlers a window's logic offers; empty ones are not called.
struct DialogHandlers {
    std::function<void(int)> command;
    std::function<void(int)> editChange;
    std::function<void(int)> timer;
    std::function<void(int id, int request, int pos)> scroll;
    std::function<void()> paint;
    // false keeps the window open
    std::function<bool()> close;
    // Wheel, drag and double click on a drawing area.
    std::function<void(int id, const PointerEvent&)> pointer;
};

class QtWindowView final : public QObject, public WindowView {
  public:
    // `window` is the top-level widget (a QMainWindow or a QDialog); `form`
    // holds the controls; `menuBar` may be null.
    QtWindowView(QWidget* window, QWidget* form, QMenuBar* menuBar = nullptr);
    ~QtWindowView() override;

    // Connects the controls' signals to `handlers`.
    void bind(DialogHandlers handlers);
    // The control with `id`, or null.
    QWidget* control(int id) const;

    void setText(int id, const std::string& utf8) override;
    std::string text(int id) const override;
    void setCheck(int id, bool checked) override;
    bool isChecked(int id) const override;
    void enable(int id, bool enabled) override;
    void setScrollRange(int id, int min, int max) override;
    void setScrollPos(int id, int pos) override;
    int scrollPos(int id) const override;
    Canvas& canvas(int id) override;
    void invalidate() override;
    void end(int result) override;

    void startTimer(int id, int ms) override;
    void stopTimer(int id) override;
    void setTitle(const std::string& utf8) override;
    void setGeometry(int x, int y, int width, int height) override;
    void setMenu(const std::vector<MenuItem>& menu) override;
    void enableMenuItem(int id, bool enabled) override;
    void addListLine(int id, const std::string& utf8) override;
    void requestClose() override;

    bool ended() const { return ended_; }
    int result() const { return result_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void timerEvent(QTimerEvent* event) override;

  private:
    void bindControl(int id, QWidget* widget);
    void addMenuItems(QMenu* menu, const std::vector<MenuItem>& items);
    void paintNow();
    // A drawing area's mouse gesture to the logic; true when it was one.
    bool pointer(QWidget* area, QEvent* event);

    QPointer<QWidget> window_;
    QMenuBar* menuBar_;
    std::map<int, QWidget*> controls_;
    std::map<int, QAction*> actions_;
    std::map<int, int> timers_;  // logic id -> Qt timer id
    std::map<int, std::unique_ptr<QImageCanvas>> canvases_;
    DialogHandlers handlers_;
    QPoint dragFrom_;
    bool painting_ = false;
    bool paintQueued_ = false;
    bool ended_ = false;
    bool closing_ = false;
    int result_ = 0;
};

}  // namespace korvex
