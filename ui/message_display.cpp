#include "ui/message_display.h"

#include <QApplication>
#include <QMessageBox>

#include "ui/window_style.h"

namespace tessara::ui {

QString WithFullStop(const QString& text) {
    if (!text.isEmpty() && text.back() > QChar('.')) return text + '.';
    return text;
}

namespace {

MessageBoxDisplay& DefaultDisplay() {
    static MessageBoxDisplay display;
    return display;
}

MessageDisplay* g_display = nullptr;

void Show(QWidget* parent, QMessageBox::Icon icon, const QString& title, const QString& text) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

}  // namespace

MessageDisplay& Messages() {
    if (g_display) return *g_display;
    return DefaultDisplay();
}

MessageDisplay* SetMessageDisplay(MessageDisplay* display) {
    MessageDisplay* previous = g_display;
    g_display = display;
    return previous;
}

void MessageBoxDisplay::ShowMessage(QWidget* parent, const QString& text) {
    Show(parent, QMessageBox::NoIcon, kApplicationTitle, text);
}

void MessageBoxDisplay::ShowError(QWidget* parent, const QString& text) {
    Show(parent, QMessageBox::Critical, QStringLiteral("Error"), text);
}

void MessageBoxDisplay::ShowUnhandled(QWidget* parent, const QString& text) {
    // Qt has no separate stop icon; the critical icon is the platform's stop sign.
    Show(parent, QMessageBox::Critical, kApplicationTitle, WithFullStop(text));
}

std::unique_ptr<QMessageBox> MakeQuestionBox(QWidget* parent, const QString& text, const QString& details,
                                             bool yesByDefault) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, kApplicationTitle, text,
                                             QMessageBox::Yes | QMessageBox::No, parent);
    box->setDefaultButton(yesByDefault ? QMessageBox::Yes : QMessageBox::No);
    box->setEscapeButton(QMessageBox::No);
    box->setDetailedText(details);
    return box;
}

bool MessageBoxDisplay::AskYesNo(QWidget* parent, const QString& text) {
    return MakeQuestionBox(parent, text, QString())->exec() == QMessageBox::Yes;
}

bool MessageBoxDisplay::AskYesNoWithDetails(QWidget* parent, const QString& text, const QString& details) {
    return MakeQuestionBox(parent, text, details)->exec() == QMessageBox::Yes;
}

bool MessageBoxDisplay::AskYesNoDefaultYes(QWidget* parent, const QString& text, const QString& details) {
    return MakeQuestionBox(parent, text, details, true)->exec() == QMessageBox::Yes;
}

}  // namespace tessara::ui
