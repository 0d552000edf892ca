#include "ui/reloading_dialog.h"

#include <QShowEvent>

void ReloadingDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!event->spontaneous()) FormShow();
}
