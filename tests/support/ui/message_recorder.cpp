#include "support/ui/message_recorder.h"

#include <ostream>

using namespace tessara::ui;

MessageRecorder::MessageRecorder() : previous_(SetMessageDisplay(this)) {}

MessageRecorder::~MessageRecorder() {
    SetMessageDisplay(previous_);
}

void MessageRecorder::ShowMessage(QWidget*, const QString& text) {
    entries_.push_back({Kind::Message, text.toStdString()});
}

void MessageRecorder::ShowError(QWidget*, const QString& text) {
    entries_.push_back({Kind::Error, text.toStdString()});
}

void MessageRecorder::ShowUnhandled(QWidget*, const QString& text) {
    entries_.push_back({Kind::Unhandled, WithFullStop(text).toStdString()});
}

bool MessageRecorder::AskYesNo(QWidget*, const QString& text) {
    return Ask(text, false);
}

bool MessageRecorder::Ask(const QString& text, bool byDefault) {
    entries_.push_back({Kind::Question, text.toStdString()});
    if (answers_.empty()) return byDefault;
    const bool yes = answers_.front();
    answers_.pop_front();
    return yes;
}

bool MessageRecorder::AskYesNoWithDetails(QWidget* parent, const QString& text, const QString& details) {
    details_ = details.toStdString();
    return AskYesNo(parent, text);
}

bool MessageRecorder::AskYesNoDefaultYes(QWidget*, const QString& text, const QString& details) {
    details_ = details.toStdString();
    return Ask(text, true);
}

std::vector<std::string> MessageRecorder::texts() const {
    std::vector<std::string> result;
    for (const Entry& e : entries_) result.push_back(e.text);
    return result;
}

std::ostream& operator<<(std::ostream& out, const MessageRecorder::Entry& entry) {
    static const char* const kNames[] = {"Message", "Error", "Unhandled", "Question"};
    return out << kNames[static_cast<int>(entry.kind)] << "(\"" << entry.text << "\")";
}
