#pragma once

#include <QString>
#include <vector>

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
// "COM10"). Nothing is opened to find them, so a port that another program holds is listed too.
class SystemPortLister : public PortLister {
public:
    std::vector<ComPort> ListComPorts() const override;
};

void SortByPortName(std::vector<ComPort>& ports);

// The name TComm opens a listed port by: "\\.\" + name on Windows, its system location elsewhere. With no
// port chosen it is the bare prefix, which opens nothing.
QString PortDeviceName(const ComPort* port);
