#include "update/ui/com_port_list.h"

#include <QSerialPortInfo>
#include <algorithm>
#include <tuple>

namespace {

// "ttyUSB12" -> ("ttyUSB", 12, ""): a name is ordered by its text up to the first digit, then by the number.
std::tuple<QString, qulonglong, QString> NameKey(const QString& name) {
    qsizetype digits = 0;
    while (digits < name.size() && !name[digits].isDigit()) ++digits;
    qsizetype end = digits;
    while (end < name.size() && name[end].isDigit()) ++end;
    return {name.left(digits), name.mid(digits, end - digits).toULongLong(), name.mid(end)};
}

}  // namespace

void SortByPortName(std::vector<ComPort>& ports) {
    std::stable_sort(ports.begin(), ports.end(),
                     [](const ComPort& a, const ComPort& b) { return NameKey(a.name) < NameKey(b.name); });
}

std::vector<ComPort> SystemPortLister::ListComPorts() const {
    std::vector<ComPort> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        ports.push_back({info.portName(), info.systemLocation()});
    }
    SortByPortName(ports);
    return ports;
}

QString PortDeviceName(const ComPort* port) {
#ifdef Q_OS_WIN
    return QStringLiteral("\\\\.\\") + (port ? port->name : QString());
#else
    return port ? port->systemLocation : QString();
#endif
}
