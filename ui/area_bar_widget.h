#pragma once

#include <QWidget>

#include "documents/area_fit.h"

namespace tessara::ui {

// The colour of bytes beyond their area, in the bar and in the text that tells of them.
QColor AreaOverflowColour();

// One PROFIBUS area drawn as a bar: the selected bytes that fit in green, the unused rest of the area in grey,
// bytes beyond the area in red, so the fit is seen at a glance.
class AreaBarWidget : public QWidget {
    Q_OBJECT

public:
    explicit AreaBarWidget(QWidget* parent = nullptr);

    void SetFit(const documents::AreaFit& fit);
    const documents::AreaFit& Fit() const { return fit_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    documents::AreaFit fit_;
};

}  // namespace tessara::ui
