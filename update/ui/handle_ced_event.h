#pragma once

#include <memory>

namespace tessara::update {

// The named auto-reset event "HandleCed" that exists while the tool waits for a program it started, so
// another process can find it by name. Created (or opened, when it exists already) unsignalled, closed at
// the end of the wait. There is no such event off Windows.
class HandleCedEvent {
public:
    HandleCedEvent();
    ~HandleCedEvent();
    HandleCedEvent(const HandleCedEvent&) = delete;
    HandleCedEvent& operator=(const HandleCedEvent&) = delete;

    // Called once the start has been tried, whatever its outcome.
    void Reset();

private:
    struct Handle;
    std::unique_ptr<Handle> handle_;
};

}  // namespace tessara::update
