#pragma once

#include <QString>
#include <deque>
#include <string>
#include <vector>

#include "ui/message_display.h"

// Stands in for the message boxes while it lives: records every message instead of showing it, so no test
// blocks on a modal box and each test can assert exactly what the user would have been told.
class MessageRecorder : public tessara::ui::MessageDisplay {
public:
    enum class Kind { Message, Error, Unhandled, Question };
    struct Entry {
        Kind kind;
        std::string text;  // as shown: the display of unhandled errors adds its full stop
        bool operator==(const Entry&) const = default;
    };

    MessageRecorder();
    ~MessageRecorder() override;

    void ShowMessage(QWidget* parent, const QString& text) override;
    void ShowError(QWidget* parent, const QString& text) override;
    void ShowUnhandled(QWidget* parent, const QString& text) override;
    // Records the question and gives the next scripted answer; with none left, the default answer No.
    bool AskYesNo(QWidget* parent, const QString& text) override;
    // Records the question as AskYesNo does, its details apart.
    bool AskYesNoWithDetails(QWidget* parent, const QString& text, const QString& details) override;
    // Records the question as AskYesNo does; with no scripted answer left, the default answer Yes.
    bool AskYesNoDefaultYes(QWidget* parent, const QString& text, const QString& details) override;
    void Answer(bool yes) { answers_.push_back(yes); }
    // The details of the last question that had them.
    const std::string& details() const { return details_; }

    const std::vector<Entry>& entries() const { return entries_; }
    std::vector<std::string> texts() const;
    void clear() { entries_.clear(); }

private:
    bool Ask(const QString& text, bool byDefault);

    std::vector<Entry> entries_;
    std::deque<bool> answers_;
    std::string details_;
    tessara::ui::MessageDisplay* previous_;
};

std::ostream& operator<<(std::ostream& out, const MessageRecorder::Entry& entry);
