#include "update/ui/comm_error.h"

namespace tessara::update {

ECommError::ECommError(const std::string& text, int errorCode)
    : std::runtime_error(text + " (Error: " + std::to_string(errorCode) + ") "), text_(text), errorCode_(errorCode) {}

}  // namespace tessara::update
