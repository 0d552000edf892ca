#pragma once

#include <QString>
#include <vector>

namespace tessara::update {

// A serial port as the update dialog lists it: the name the user picks ("COM3", "ttyUSB0") and the place
// the system opens it from ("\\.\COM3", "/dev/ttyUSB0").
struct ComPort {
    QString name;
    QString systemLocation;
    bool operator==(const ComPort&) const = default;
};

// Where the update dialog learns which ports exist; tests give it fixed ports (pseudo-terminals).
class PortLister {
public:
    virtual ~PortLister() = default;
    virtual std::vector<ComPort> ListComPorts() const = 0;
};

// The ports the system knows, in ascending order of name, numbers compared by value ("COM9" before
// "COM10"), then the stable names of the USB serial adapters. Nothing is opened to find them, so a port that
// another program holds is listed too.
class SystemPortLister : public PortLister {
public:
    explicit SystemPortLister(QString stableNamesFolder = QStringLiteral("/dev/serial/by-id"));
    std::vector<ComPort> ListComPorts() const override;

private:
    QString stableNamesFolder_;
};

// The stable names the system gives USB serial adapters, links in `folder` to the adapter's device, in order of
// name. Each is listed by its name and the device it points to ("usb-FTDI_FT232R-if00-port0 (ttyUSB0)") and
// opened by the link, so the same adapter is found after it was plugged in elsewhere. A link to no device (an
// adapter pulled out) is left out.
std::vector<ComPort> StableNamePorts(const QString& folder);

void SortByPortName(std::vector<ComPort>& ports);

// The name TComm opens a listed port by: "\\.\" + name on Windows, its system location elsewhere. With no
// port chosen it is the bare prefix, which opens nothing.
QString PortDeviceName(const ComPort* port);

}  // namespace tessara::update
