#include "update/ui/com_port_list.h"

#include <gtest/gtest.h>

#include <QStringList>
#include <filesystem>

#include "support/temp_dir.h"

using namespace tessara::update;

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

// Stable names as the system keeps them: links to the adapters' devices. A link whose device is gone (the
// adapter was pulled out) and anything that is no link are left out.
TEST(ComPortListTest, StableNamesAreListedWithTheirDeviceAndOpenedByTheLink) {
    TempDir root;
    root.Write("dev/ttyUSB0", "");
    root.Write("dev/ttyACM1", "");
    const std::string byId = root.MakeDir("by-id");
    std::filesystem::create_symlink("../dev/ttyUSB0", byId + "/usb-FTDI_FT232R_A50285BI-if00-port0");
    std::filesystem::create_symlink("../dev/ttyACM1", byId + "/usb-Arduino_Uno_7563-if00");
    std::filesystem::create_symlink("../dev/ttyUSB7", byId + "/usb-Prolific_Gone-if00-port0");
    root.Write("by-id/notes.txt", "");

    const QString folder = QString::fromStdString(byId);
    EXPECT_EQ(StableNamePorts(folder),
              (std::vector<ComPort>{
                  {"usb-Arduino_Uno_7563-if00 (ttyACM1)", folder + "/usb-Arduino_Uno_7563-if00"},
                  {"usb-FTDI_FT232R_A50285BI-if00-port0 (ttyUSB0)", folder + "/usb-FTDI_FT232R_A50285BI-if00-port0"}}));
    EXPECT_TRUE(StableNamePorts(QString::fromStdString(root.File("none"))).empty());

    // After the ports the system enumerates, which this test does not control.
    const std::vector<ComPort> all = SystemPortLister(folder).ListComPorts();
    ASSERT_GE(all.size(), 2u);
    EXPECT_EQ(all.back().systemLocation, folder + "/usb-FTDI_FT232R_A50285BI-if00-port0");
}

}  // namespace
