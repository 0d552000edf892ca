#include "ui/reloading_dialog.h"

#include <QShowEvent>

namespace tessara::ui {

void ReloadingDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}

}  // namespace tessara::ui
