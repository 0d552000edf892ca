#include "update/ui/custom_comm.h"

#include <array>

#include "update/ui/comm_error.h"
#include "update/ui/port_device.h"

namespace tessara::update {

namespace {

constexpr std::array<int, 17> kBaudrates = {110,   300,   600,   1200,   2400,   4800,   9600,    14400,  19200,
                                            38400, 56000, 57600, 115200, 128000, 256000, 1500000, 3000000};

// Qt's port has no setting for these, so anything but their defaults cannot be applied.
constexpr int kUnsupported = QSerialPort::UnsupportedOperationError;

QSerialPort::DataBits ToDataBits(TDatabits bits) {
    return static_cast<QSerialPort::DataBits>(static_cast<int>(bits) + 4);
}

QSerialPort::Parity ToParity(TParity parity) {
    constexpr std::array<QSerialPort::Parity, 5> kParity = {QSerialPort::NoParity, QSerialPort::OddParity,
                                                            QSerialPort::EvenParity, QSerialPort::MarkParity,
                                                            QSerialPort::SpaceParity};
    return kParity[static_cast<int>(parity)];
}

QSerialPort::StopBits ToStopBits(TStopbits stopbits) {
    constexpr std::array<QSerialPort::StopBits, 3> kStop = {QSerialPort::OneStop, QSerialPort::OneAndHalfStop,
                                                            QSerialPort::TwoStop};
    return kStop[static_cast<int>(stopbits)];
}

}  // namespace

int BaudrateValue(TBaudrate rate) {
    return kBaudrates[static_cast<int>(rate)];
}

TCustomComm::TCustomComm() = default;

TCustomComm::~TCustomComm() {
    Close();
}

template <typename T>
void TCustomComm::SetWhileClosed(T& field, const T& value) {
    if (field == value) return;
    if (IsOpen()) throw ECommError(comm_text::kPortAlreadyOpen, ECommError::kNoSystemCode);
    field = value;
}

template <typename T>
void TCustomComm::SetLineSetting(T& field, const T& value) {
    field = value;
    ApplyLineSettings();
}

void TCustomComm::SetDeviceName(const QString& name) {
    SetWhileClosed(deviceName_, name);
}
void TCustomComm::SetReadBufSize(int size) {
    SetWhileClosed(readBufSize_, size);
}
void TCustomComm::SetWriteBufSize(int size) {
    SetWhileClosed(writeBufSize_, size);
}
void TCustomComm::SetMonitorEvents(TCommEventTypes events) {
    SetWhileClosed(monitorEvents_, events);
}
void TCustomComm::SetBaudRate(TBaudrate rate) {
    SetLineSetting(baudRate_, rate);
}
void TCustomComm::SetParity(TParity parity) {
    SetLineSetting(parity_, parity);
}
void TCustomComm::SetStopbits(TStopbits stopbits) {
    SetLineSetting(stopbits_, stopbits);
}
void TCustomComm::SetDatabits(TDatabits databits) {
    SetLineSetting(databits_, databits);
}
void TCustomComm::SetOptions(TCommOptions options) {
    SetLineSetting(options_, options);
}
void TCustomComm::SetFlowControl(TFlowControl flow) {
    SetLineSetting(flowControl_, flow);
}
void TCustomComm::SetEventChars(const TCommEventChars& chars) {
    SetLineSetting(eventChars_, chars);
}

void TCustomComm::Open() {
    if (IsOpen()) throw ECommError(comm_text::kPortAlreadyOpen, ECommError::kNoSystemCode);
    if (IsOtherThanCharacterDevice(deviceName_)) {
        throw ECommError(comm_text::kNotCharacterDevice, ECommError::kNoSystemCode);
    }
    port_.clearError();
    port_.setPortName(deviceName_);
    if (!port_.open(QIODevice::ReadWrite)) throw ECommError(comm_text::kCannotAccessDevice, port_.error());
    // Reads are never blocking with Qt's port, so there are no time-outs to set; an error after this point
    // leaves the port open, and the next Close closes it.
    ApplyLineSettings();
    port_.setReadBufferSize(readBufSize_);
}

void TCustomComm::ApplyLineSettings() {
    if (!IsOpen()) return;
    port_.clearError();
    if (!port_.setBaudRate(BaudrateValue(baudRate_)) || !port_.setParity(ToParity(parity_)) ||
        !port_.setStopBits(ToStopBits(stopbits_))) {
        FailLineSettings();
    }
    if (databits_ == TDatabits::da4 || !port_.setDataBits(ToDataBits(databits_))) FailLineSettings();
    switch (flowControl_) {
        case TFlowControl::fcNone:
            if (!port_.setFlowControl(QSerialPort::NoFlowControl)) FailLineSettings();
            break;
        case TFlowControl::fcCTS:
            if (!port_.setFlowControl(QSerialPort::HardwareControl)) FailLineSettings();
            break;
        case TFlowControl::fcSoftware:
            if (!port_.setFlowControl(QSerialPort::SoftwareControl)) FailLineSettings();
            break;
        case TFlowControl::fcDTR:  // DSR/DTR handshake: Qt's port offers none
            FailLineSettings();
        case TFlowControl::fcDefault:  // the driver's flow control stays as it is
            break;
    }
    if (!options_.Empty() || !(eventChars_ == TCommEventChars{})) FailLineSettings();
}

void TCustomComm::FailLineSettings() {
    const int code = port_.error() == QSerialPort::NoError ? kUnsupported : port_.error();
    throw ECommError(comm_text::kLineSettingsRefused, code);
}

void TCustomComm::Close() {
    if (IsOpen()) port_.close();
}

void TCustomComm::SetDtr(bool on) {
    if (!IsOpen()) throw ECommError(comm_text::kPortNotOpen, ECommError::kNoSystemCode);
    port_.clearError();
    if (!port_.setDataTerminalReady(on)) throw ECommError(comm_text::kDtrRefused, port_.error());
}

}  // namespace tessara::update
