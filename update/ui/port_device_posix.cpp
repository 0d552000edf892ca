#include <filesystem>

#include "update/ui/port_device.h"

namespace tessara::update {

QString PortDeviceName(const ComPort* port) {
    return port ? port->systemLocation : QString();
}

bool IsOtherThanCharacterDevice(const QString& deviceName) {
    if (!deviceName.startsWith('/')) return false;
    std::error_code ec;
    const auto status = std::filesystem::status(deviceName.toStdString(), ec);
    return !ec && std::filesystem::exists(status) && !std::filesystem::is_character_file(status);
}

}  // namespace tessara::update
