#pragma once

#include <stdexcept>
#include <string>

namespace tessara::update {

// The serial port component's error. Its message is the step's text followed by " (Error: <code>) ", so a
// failure can be told apart even where only the message travels.
class ECommError : public std::runtime_error {
public:
    static constexpr int kNoSystemCode = -1;

    ECommError(const std::string& text, int errorCode);

    // The code the port layer gave for the failed step, or kNoSystemCode where the component itself refused.
    int ErrorCode() const { return errorCode_; }
    const std::string& Text() const { return text_; }

private:
    std::string text_;
    int errorCode_;
};

namespace comm_text {
inline constexpr const char* kPortAlreadyOpen = "Port already assigned (open)";
inline constexpr const char* kCannotAccessDevice = "Error accessing specified device";
inline constexpr const char* kNotCharacterDevice = "Invalid device handle, access denied";
inline constexpr const char* kLineSettingsRefused = "Error updating DataControlBlock";
inline constexpr const char* kPortNotOpen = "Port not open, unable to complete operation";
inline constexpr const char* kDtrRefused = "EscapeCommFunction failure";
}  // namespace comm_text

}  // namespace tessara::update
