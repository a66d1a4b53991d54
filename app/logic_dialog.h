#pragma once
// A modal dialog that ends only through its logic: Escape and the close box
// do not dismiss it. Opened without a close box, as the dialogs have none.

#include <QDialog>

namespace korvex {

class LogicDialog final : public QDialog {
  public:
    explicit LogicDialog(QWidget* parent)
        : QDialog(parent, Qt::Dialog | Qt::WindowTitleHint | Qt::CustomizeWindowHint) {}
    void reject() override {}
};

}  // namespace korvex
