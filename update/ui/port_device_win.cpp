#include "update/ui/port_device.h"

namespace tessara::update {

// COM ports open through the device namespace, which also reaches COM10 and above.
QString PortDeviceName(const ComPort* port) {
    return QStringLiteral("\\\\.\\") + (port ? port->name : QString());
}

// "\\.\COMn" names a device of the system's own; there is no file there to be of the wrong kind.
bool IsOtherThanCharacterDevice(const QString&) {
    return false;
}

}  // namespace tessara::update
