#pragma once

#include <QPoint>
#include <QRect>
#include <QString>

class QWidget;

namespace tessara::ui {

// Every control of a window is named (tests and screen readers find it by its objectName) and stands where
// the window's design puts it.

// A control with its text at its designed place and size.
template <class Control>
Control* PlaceControl(QWidget* parent, const char* name, const QString& text, const QRect& geometry) {
    auto* control = new Control(text, parent);
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

// A control with its text at its designed place, as large as its text needs.
template <class Control>
Control* PlaceFittedControl(QWidget* parent, const char* name, const QString& text, QPoint at) {
    auto* control = new Control(text, parent);
    control->setObjectName(QLatin1String(name));
    control->move(at);
    control->adjustSize();
    return control;
}

}  // namespace tessara::ui
