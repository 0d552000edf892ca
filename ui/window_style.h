#pragma once

#include <QString>

class QLabel;
class QWidget;

namespace tessara::ui {

inline const QString kApplicationTitle = QStringLiteral("Firmware Tessara");
// The maker's product page, opened by the main window's link and the About box.
inline const QString kProductPageHost = QStringLiteral("www.kestrane.com");
inline const QString kProductPagePath = QStringLiteral("HOME/default.asp?frompg=SW48210");
QString ProductPageUrl();
void OpenProductPage();

// The look every window of the tool shares: background RGB 248, 247, 237, text RGB 51, 51, 51, Verdana 8 pt
// (the platform's sans-serif where Verdana is missing).
void ApplyTessaraStyle(QWidget* window);

// A bold label that heads a part of a window.
QLabel* HeadingLabel(const QString& text, QWidget* parent);

// Makes the widget's text bold, in the font it has.
void MakeBold(QWidget* widget);

}  // namespace tessara::ui
