#include "ui/area_bar_widget.h"

#include <QPainter>

#include "documents/area_fit.h"

namespace tessara::ui {

QColor AreaOverflowColour() {
    return {200, 60, 60};
}

AreaBarWidget::AreaBarWidget(QWidget* parent) : QWidget(parent) {
    setMinimumSize(160, 18);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
}

void AreaBarWidget::SetFit(const documents::AreaFit& fit) {
    fit_ = fit;
    setAccessibleDescription(QString::fromStdString(documents::AreaFitText(fit)));
    update();
}

QSize AreaBarWidget::sizeHint() const {
    return {360, 18};
}

void AreaBarWidget::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    const QRect inner = rect().adjusted(1, 1, -1, -1);
    painter.fillRect(inner, Qt::white);
    const documents::AreaBar bar = documents::AreaBarFor(fit_);
    int left = inner.left();
    const auto part = [&](int thousandths, const QColor& colour) {
        const int width = inner.width() * thousandths / 1000;
        painter.fillRect(QRect(left, inner.top(), width, inner.height()), colour);
        left += width;
    };
    part(bar.used, QColor(79, 154, 79));
    part(bar.unused, QColor(216, 214, 200));
    part(bar.overflow, AreaOverflowColour());
    painter.setPen(QColor(128, 128, 128));
    painter.drawRect(rect().adjusted(0, 0, -1, -1));
}

}  // namespace tessara::ui
