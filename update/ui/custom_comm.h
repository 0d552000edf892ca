#pragma once

#include <QSerialPort>
#include <QString>
#include <cstdint>
#include <initializer_list>

#include "update/ui/comm_port.h"

namespace tessara::update {

enum class TBaudrate {
    br110,
    br300,
    br600,
    br1200,
    br2400,
    br4800,
    br9600,
    br14400,
    br19200,
    br38400,
    br56000,
    br57600,
    br115200,
    br128000,
    br256000,
    br1500000,
    br3000000
};
enum class TParity { paNone, paOdd, paEven, paMark, paSpace };
enum class TStopbits { sb10, sb15, sb20 };
enum class TDatabits { da4, da5, da6, da7, da8 };
enum class TFlowControl { fcNone, fcCTS, fcDTR, fcSoftware, fcDefault };
enum class TCommOption { coParityCheck, coDsrSensitivity, coIgnoreXOff, coErrorChar, coNullStrip };
enum class TCommEventType { evBreak, evCts, evDsr, evError, evRing, evRlsd, evRxChar, evRxFlag, evTxEmpty };

// A set of enumeration members, one bit per ordinal.
template <typename E>
class EnumSet {
public:
    constexpr EnumSet() = default;
    constexpr EnumSet(std::initializer_list<E> members) {
        for (E m : members) bits_ |= Bit(m);
    }
    constexpr bool Contains(E m) const { return (bits_ & Bit(m)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr bool operator==(const EnumSet&) const = default;

private:
    static constexpr std::uint32_t Bit(E m) { return 1u << static_cast<unsigned>(m); }
    std::uint32_t bits_ = 0;
};

using TCommOptions = EnumSet<TCommOption>;
using TCommEventTypes = EnumSet<TCommEventType>;

struct TCommEventChars {
    char XonChar = 17;
    char XoffChar = 19;
    char ErrorChar = 0;
    char EofChar = 0;
    char EvtChar = 0;
    bool operator==(const TCommEventChars&) const = default;
};

int BaudrateValue(TBaudrate rate);

// The serial port component. Its properties keep their defaults and rules: the device name, the event set
// and the buffer sizes may change only while the port is closed; a change of a line setting while the port
// is open is applied at once. Qt's serial port carries it out, so a setting that port cannot apply raises
// the error of the step that applies it. Line events arrive through the event loop and nothing here listens
// to them, so no monitoring thread is kept.
class TCustomComm : public CommPort {
public:
    TCustomComm();
    ~TCustomComm() override;
    TCustomComm(const TCustomComm&) = delete;
    TCustomComm& operator=(const TCustomComm&) = delete;

    QString DeviceName() const override { return deviceName_; }
    void SetDeviceName(const QString& name) override;
    int ReadBufSize() const { return readBufSize_; }
    void SetReadBufSize(int size);
    int WriteBufSize() const { return writeBufSize_; }
    void SetWriteBufSize(int size);
    TCommEventTypes MonitorEvents() const { return monitorEvents_; }
    void SetMonitorEvents(TCommEventTypes events);

    TBaudrate BaudRate() const { return baudRate_; }
    void SetBaudRate(TBaudrate rate);
    TParity Parity() const { return parity_; }
    void SetParity(TParity parity);
    TStopbits Stopbits() const { return stopbits_; }
    void SetStopbits(TStopbits stopbits);
    TDatabits Databits() const { return databits_; }
    void SetDatabits(TDatabits databits);
    TCommOptions Options() const { return options_; }
    void SetOptions(TCommOptions options);
    TFlowControl FlowControl() const { return flowControl_; }
    void SetFlowControl(TFlowControl flow);
    TCommEventChars EventChars() const { return eventChars_; }
    void SetEventChars(const TCommEventChars& chars);

    int ReadTimeout() const { return readTimeout_; }
    void SetReadTimeout(int ms) { readTimeout_ = ms; }
    int WriteTimeout() const { return writeTimeout_; }
    void SetWriteTimeout(int ms) { writeTimeout_ = ms; }

    void Open() override;
    void Close() override;
    bool IsOpen() const override { return port_.isOpen(); }
    void SetDtr(bool on) override;

private:
    template <typename T>
    void SetWhileClosed(T& field, const T& value);
    template <typename T>
    void SetLineSetting(T& field, const T& value);
    void ApplyLineSettings();
    [[noreturn]] void FailLineSettings();

    QSerialPort port_;
    QString deviceName_ = QStringLiteral("Com2");
    int readBufSize_ = 4096;
    int writeBufSize_ = 2048;
    TCommEventTypes monitorEvents_{TCommEventType::evBreak,  TCommEventType::evCts,    TCommEventType::evDsr,
                                   TCommEventType::evError,  TCommEventType::evRing,   TCommEventType::evRlsd,
                                   TCommEventType::evRxChar, TCommEventType::evRxFlag, TCommEventType::evTxEmpty};
    TBaudrate baudRate_ = TBaudrate::br9600;
    TParity parity_ = TParity::paNone;
    TStopbits stopbits_ = TStopbits::sb10;
    TDatabits databits_ = TDatabits::da8;
    TCommOptions options_;
    TFlowControl flowControl_ = TFlowControl::fcDefault;
    TCommEventChars eventChars_;
    int readTimeout_ = 1000;
    int writeTimeout_ = 1000;
};

// The component as the dialogs place it.
class TComm final : public TCustomComm {};

}  // namespace tessara::update
