#include "update/ui/handle_ced_event.h"

namespace tessara::update {

struct HandleCedEvent::Handle {};

HandleCedEvent::HandleCedEvent() = default;
HandleCedEvent::~HandleCedEvent() = default;

void HandleCedEvent::Reset() {}

}  // namespace tessara::update
