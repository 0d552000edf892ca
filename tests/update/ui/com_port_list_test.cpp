#include "update/ui/com_port_list.h"

#include <gtest/gtest.h>

#include <QStringList>

namespace {

TEST(ComPortListTest, PortsAreOrderedByNameWithNumbersComparedByValue) {
    std::vector<ComPort> ports;
    for (const char* name : {"ttyUSB10", "COM10", "ttyS1", "COM9", "COM3", "ttyUSB2", "ttyACM0"}) {
        ports.push_back({name, QStringLiteral("/dev/") + name});
    }
    SortByPortName(ports);
    QStringList names;
    for (const ComPort& port : ports) names << port.name;
    EXPECT_EQ(names, QStringList({"COM3", "COM9", "COM10", "ttyACM0", "ttyS1", "ttyUSB2", "ttyUSB10"}));
}

TEST(ComPortListTest, DeviceNameOfAPortAndOfNoPort) {
    const ComPort port{"ttyUSB0", "/dev/ttyUSB0"};
#ifdef Q_OS_WIN
    EXPECT_EQ(PortDeviceName(&port), "\\\\.\\ttyUSB0");
    EXPECT_EQ(PortDeviceName(nullptr), "\\\\.\\");
#else
    EXPECT_EQ(PortDeviceName(&port), "/dev/ttyUSB0");
    EXPECT_EQ(PortDeviceName(nullptr), "");
#endif
}

}  // namespace
