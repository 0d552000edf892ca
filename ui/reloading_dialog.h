#pragma once

#include <QDialog>

namespace tessara::ui {

// A dialog that loads what it shows afresh each time the program shows it. The window system shows a window
// again too (restored from the task bar, back from another desktop); such a showing keeps what the user has
// done there.
class ReloadingDialog : public QDialog {
    Q_OBJECT

public:
    using QDialog::QDialog;

    // Loads the dialog's content; runs at every showing by the program.
    virtual void FormShow() = 0;

protected:
    void showEvent(QShowEvent* event) override;
};

}  // namespace tessara::ui
