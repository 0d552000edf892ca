#include "ui/window_style.h"

#include <QDesktopServices>
#include <QFont>
#include <QLabel>
#include <QPalette>
#include <QUrl>
#include <QWidget>

namespace tessara::ui {

QString ProductPageUrl() {
    return QStringLiteral("https://") + kProductPageHost + '/' + kProductPagePath;
}

void OpenProductPage() {
    QDesktopServices::openUrl(QUrl(ProductPageUrl()));  // a failure is not reported
}

QLabel* HeadingLabel(const QString& text, QWidget* parent) {
    auto* label = new QLabel(text, parent);
    MakeBold(label);
    return label;
}

void MakeBold(QWidget* widget) {
    QFont bold = widget->font();
    bold.setBold(true);
    widget->setFont(bold);
}

void ApplyTessaraStyle(QWidget* window) {
    QPalette palette = window->palette();
    const QColor background(248, 247, 237);
    const QColor text(51, 51, 51);
    palette.setColor(QPalette::Window, background);
    palette.setColor(QPalette::WindowText, text);
    palette.setColor(QPalette::Text, text);
    palette.setColor(QPalette::ButtonText, text);
    window->setPalette(palette);
    window->setAutoFillBackground(true);

    QFont font(QStringLiteral("Verdana"));
    font.setStyleHint(QFont::SansSerif);
    font.setPointSize(8);
    window->setFont(font);
}

}  // namespace tessara::ui
