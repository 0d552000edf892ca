#include "update/ui/com_port_list.h"

#include <QDir>
#include <QFileInfo>
#include <QSerialPortInfo>
#include <algorithm>
#include <tuple>

namespace tessara::update {

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

SystemPortLister::SystemPortLister(QString stableNamesFolder) : stableNamesFolder_(std::move(stableNamesFolder)) {}

std::vector<ComPort> SystemPortLister::ListComPorts() const {
    std::vector<ComPort> ports;
    for (const QSerialPortInfo& info : QSerialPortInfo::availablePorts()) {
        ports.push_back({info.portName(), info.systemLocation()});
    }
    SortByPortName(ports);
    const std::vector<ComPort> stable = StableNamePorts(stableNamesFolder_);
    ports.insert(ports.end(), stable.begin(), stable.end());
    return ports;
}

std::vector<ComPort> StableNamePorts(const QString& folder) {
    std::vector<ComPort> ports;
    const QFileInfoList links =
        QDir(folder).entryInfoList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QFileInfo& link : links) {
        if (!link.isSymLink() || !link.exists()) continue;
        const QString device = QFileInfo(link.symLinkTarget()).fileName();
        ports.push_back({QStringLiteral("%1 (%2)").arg(link.fileName(), device), link.filePath()});
    }
    return ports;
}

}  // namespace tessara::update
