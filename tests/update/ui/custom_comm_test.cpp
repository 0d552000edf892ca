#include "update/ui/custom_comm.h"

#include <gtest/gtest.h>
#include <termios.h>

#include <functional>

#include "support/temp_dir.h"
#include "support/ui/pseudo_terminal.h"
#include "update/ui/comm_error.h"

using namespace tessara::update;

namespace {

termios LineOf(const PseudoTerminal& pty) {
    termios line{};
    tcgetattr(pty.Master(), &line);
    return line;
}

// Runs action and returns the ECommError it raised.
ECommError Raised(const std::function<void()>& action) {
    try {
        action();
    } catch (const ECommError& e) {
        return e;
    }
    ADD_FAILURE() << "no ECommError raised";
    return ECommError("none", 0);
}

class CustomCommTest : public ::testing::Test {
protected:
    PseudoTerminal pty;
    TComm comm;
    void SetUp() override { comm.SetDeviceName(pty.Path()); }
};

TEST_F(CustomCommTest, OpensWithTheDefaultLineAndClosesTwiceQuietly) {
    EXPECT_EQ(comm.DeviceName(), pty.Path());
    comm.Open();
    ASSERT_TRUE(comm.IsOpen());
    const termios line = LineOf(pty);
    EXPECT_EQ(cfgetospeed(&line), B9600);
    EXPECT_EQ(line.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(line.c_cflag & (PARENB | CSTOPB), 0u);
    comm.Close();
    EXPECT_FALSE(comm.IsOpen());
    comm.Close();
    EXPECT_FALSE(comm.IsOpen());
}

TEST_F(CustomCommTest, LineSettingsChangedWhileOpenAreAppliedAtOnce) {
    comm.Open();
    comm.SetBaudRate(TBaudrate::br19200);
    comm.SetStopbits(TStopbits::sb20);
    comm.SetFlowControl(TFlowControl::fcSoftware);
    const termios line = LineOf(pty);
    EXPECT_EQ(cfgetospeed(&line), B19200);
    EXPECT_EQ(line.c_cflag & CSTOPB, static_cast<tcflag_t>(CSTOPB));
    EXPECT_EQ(line.c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
}

TEST_F(CustomCommTest, PropertiesOfAClosedPortChangeOnlyWhileClosed) {
    struct Case {
        const char* name;
        std::function<void()> sameValue;
        std::function<void()> otherValue;
        std::function<bool()> unchanged;
    };
    const QString device = pty.Path();
    const TCommEventTypes events = comm.MonitorEvents();
    const Case cases[] = {
        {"DeviceName", [&] { comm.SetDeviceName(device); }, [&] { comm.SetDeviceName("/dev/null"); },
         [&] { return comm.DeviceName() == device; }},
        {"ReadBufSize", [&] { comm.SetReadBufSize(4096); }, [&] { comm.SetReadBufSize(8192); },
         [&] { return comm.ReadBufSize() == 4096; }},
        {"WriteBufSize", [&] { comm.SetWriteBufSize(2048); }, [&] { comm.SetWriteBufSize(1); },
         [&] { return comm.WriteBufSize() == 2048; }},
        {"MonitorEvents", [&] { comm.SetMonitorEvents(events); },
         [&] { comm.SetMonitorEvents({TCommEventType::evRxChar}); }, [&] { return comm.MonitorEvents() == events; }},
    };
    comm.Open();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        EXPECT_NO_THROW(c.sameValue());
        EXPECT_STREQ(Raised(c.otherValue).what(), "Port already assigned (open) (Error: -1) ");
        EXPECT_TRUE(c.unchanged());
    }
    comm.Close();
    comm.SetReadBufSize(8192);
    EXPECT_EQ(comm.ReadBufSize(), 8192);
}

// Stored while closed without complaint; Open then refuses the line and leaves the port open, and a change
// while open is refused the same way.
TEST_F(CustomCommTest, SettingsTheLineCannotTakeAreRefusedAsLineSettings) {
    const std::pair<const char*, std::function<void(TComm&)>> cases[] = {
        {"parity, which a pseudo-terminal refuses", [](TComm& c) { c.SetParity(TParity::paEven); }},
        {"four data bits", [](TComm& c) { c.SetDatabits(TDatabits::da4); }},
        {"DTR handshake", [](TComm& c) { c.SetFlowControl(TFlowControl::fcDTR); }},
        {"an option", [](TComm& c) { c.SetOptions({TCommOption::coNullStrip}); }},
        {"another XON character", [](TComm& c) { c.SetEventChars({.XonChar = 1}); }},
    };
    for (const auto& [name, change] : cases) {
        SCOPED_TRACE(name);
        TComm closed;
        closed.SetDeviceName(pty.Path());
        EXPECT_NO_THROW(change(closed));
        EXPECT_EQ(Raised([&] { closed.Open(); }).Text(), "Error updating DataControlBlock");
        EXPECT_TRUE(closed.IsOpen());
        closed.Close();

        comm.Open();
        EXPECT_EQ(Raised([&] { change(comm); }).Text(), "Error updating DataControlBlock");
        comm.Close();
        comm.SetParity(TParity::paNone);
        comm.SetDatabits(TDatabits::da8);
        comm.SetFlowControl(TFlowControl::fcDefault);
        comm.SetOptions({});
        comm.SetEventChars({});
    }
}

TEST_F(CustomCommTest, FailedStepsRaiseTheirTexts) {
    TempDir dir;
    const std::string plainFile = dir.Write("not_a_port", "x");
    struct Case {
        const char* text;
        bool systemCode;  // the port layer's code rather than -1
        std::function<void()> action;
    };
    TComm other;
    const Case cases[] = {
        {"Port already assigned (open)", false,
         [&] {
             comm.Open();
             comm.Open();
         }},
        {"EscapeCommFunction failure", true,
         [&] {
             comm.Open();
             comm.SetDtr(true);
         }},
        {"Port not open, unable to complete operation", false, [&] { comm.SetDtr(false); }},
        {"Error accessing specified device", true,
         [&] {
             comm.SetDeviceName(QString::fromStdString(dir.File("missing")));
             comm.Open();
         }},
        {"Invalid device handle, access denied", false,
         [&] {
             comm.SetDeviceName(QString::fromStdString(plainFile));
             comm.Open();
         }},
        {"Error accessing specified device", true,  // held open by another component
         [&] {
             comm.Open();
             other.SetDeviceName(pty.Path());
             other.Open();
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        const ECommError e = Raised(c.action);
        EXPECT_EQ(e.Text(), c.text);
        if (c.systemCode) {
            EXPECT_GT(e.ErrorCode(), 0);
        } else {
            EXPECT_EQ(e.ErrorCode(), -1);
        }
        EXPECT_EQ(e.what(), std::string(c.text) + " (Error: " + std::to_string(e.ErrorCode()) + ") ");
        comm.Close();
        comm.SetDeviceName(pty.Path());
    }
}

}  // namespace
