#include <windows.h>

#include "update/ui/handle_ced_event.h"

namespace tessara::update {

struct HandleCedEvent::Handle {
    HANDLE event = nullptr;
};

// Auto-reset, not signalled, default security; CreateEventW opens the event when the name exists already.
HandleCedEvent::HandleCedEvent() : handle_(std::make_unique<Handle>()) {
    handle_->event = CreateEventW(nullptr, FALSE, FALSE, L"HandleCed");
}

HandleCedEvent::~HandleCedEvent() {
    if (handle_->event) CloseHandle(handle_->event);
}

void HandleCedEvent::Reset() {
    if (handle_->event) ResetEvent(handle_->event);
}

}  // namespace tessara::update
