#pragma once

#include <QString>

namespace tessara::update {

// What the update dialog needs of a serial port: name it, open it, raise DTR, close it. TComm is the real
// one; tests put a double behind the same interface for a port that opens and takes DTR.
class CommPort {
public:
    virtual ~CommPort() = default;

    virtual QString DeviceName() const = 0;
    // Throws ECommError while the port is open and the name differs.
    virtual void SetDeviceName(const QString& name) = 0;
    // Open, Close, IsOpen and SetDtr throw ECommError as TCustomComm describes.
    virtual void Open() = 0;
    virtual void Close() = 0;
    virtual bool IsOpen() const = 0;
    virtual void SetDtr(bool on) = 0;
};

}  // namespace tessara::update
