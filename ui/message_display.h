#pragma once

#include <QString>
#include <memory>

class QMessageBox;
class QWidget;

namespace tessara::ui {

// The one seam through which every window tells the user something. The windows use the message box
// implementation; tests install a recorder, so no test ever blocks on a modal box.
class MessageDisplay {
public:
    virtual ~MessageDisplay() = default;
    // A plain message: the application title and one OK button.
    virtual void ShowMessage(QWidget* parent, const QString& text) = 0;
    // An error dialog titled "Error" with the error icon and one OK button.
    virtual void ShowError(QWidget* parent, const QString& text) = 0;
    // The display of unhandled errors: stop icon, application title, the text as WithFullStop gives it.
    virtual void ShowUnhandled(QWidget* parent, const QString& text) = 0;
    // A question with the application title and the buttons Yes and No, No being the default: true for Yes.
    virtual bool AskYesNo(QWidget* parent, const QString& text) = 0;
    // The same question with a long list behind it: the box shows the text, and the details in a scrollable
    // part the user opens, so the box stays on the screen however long the list is.
    virtual bool AskYesNoWithDetails(QWidget* parent, const QString& text, const QString& details) = 0;
    // A question about going on with what the user asked for (an OK whose save has a consequence to know of):
    // Yes is the default, Escape answers No, and the details are shown as AskYesNoWithDetails shows them.
    virtual bool AskYesNoDefaultYes(QWidget* parent, const QString& text, const QString& details) = 0;
};

// A full stop is added unless the text already ends in one or in a character of lower code.
QString WithFullStop(const QString& text);

MessageDisplay& Messages();
// The question box as AskYesNoWithDetails shows it, made but not shown (its size is measured by tests); with
// `yesByDefault`, as AskYesNoDefaultYes shows it.
std::unique_ptr<QMessageBox> MakeQuestionBox(QWidget* parent, const QString& text, const QString& details,
                                             bool yesByDefault = false);

// Installs another display (tests); returns the previous one. The caller keeps ownership.
MessageDisplay* SetMessageDisplay(MessageDisplay* display);

class MessageBoxDisplay : public MessageDisplay {
public:
    void ShowMessage(QWidget* parent, const QString& text) override;
    void ShowError(QWidget* parent, const QString& text) override;
    void ShowUnhandled(QWidget* parent, const QString& text) override;
    bool AskYesNo(QWidget* parent, const QString& text) override;
    bool AskYesNoWithDetails(QWidget* parent, const QString& text, const QString& details) override;
    bool AskYesNoDefaultYes(QWidget* parent, const QString& text, const QString& details) override;
};

}  // namespace tessara::ui
