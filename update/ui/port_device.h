#pragma once

#include <QString>

#include "update/ui/com_port_list.h"

namespace tessara::update {

// The platform's side of naming and vetting a serial device; PortDeviceName is declared with the port list.

// A device file that exists but is no character device (a plain file, a folder) is refused as the wrong
// kind of device, before Qt reports it as an unreadable one.
bool IsOtherThanCharacterDevice(const QString& deviceName);

}  // namespace tessara::update
