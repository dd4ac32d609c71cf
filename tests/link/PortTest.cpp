// Opening and closing the port with the main window's choice.
#include <gtest/gtest.h>

#include "Fakes.h"
#include "Transport.h"

namespace qmrtest {
namespace {

using qmr::Link;

class PortTest : public LinkFixture {
protected:
    PortTest() { openAtStart = false; }
};

TEST_F(PortTest, OpensTheChosenDeviceAtTheChosenSpeed) {
    ui.choice = {1, "/dev/ttyS1", 2, "57600"};

    EXPECT_TRUE(qmr::OpenPort());

    EXPECT_EQ(line.opened, std::vector<std::string>{"/dev/ttyS1"});
    ASSERT_EQ(line.configured.size(), 1u);
    EXPECT_EQ(line.configured[0].baudRate, 57600);
    EXPECT_TRUE(line.configured[0].switchOffXonXoff);
    EXPECT_EQ(Link().PortHandle, line.openHandle);
    EXPECT_EQ(Link().PortIndex, 1);
    EXPECT_EQ(Link().BaudIndex, 2);
    EXPECT_EQ(Link().BaudRate, 57600);
    EXPECT_TRUE(ui.messages.empty());
}

// Both programs need a line that passes 0x11 and 0x13 like any other byte,
// and both build this one link.
TEST_F(PortTest, TheLinkSwitchesXonXoffOff) {
    Install();
    line.configured.clear();
    EXPECT_TRUE(qmr::OpenPort());
    ASSERT_EQ(line.configured.size(), 1u);
    EXPECT_TRUE(line.configured[0].switchOffXonXoff);
    qmr::ClosePort();
}

TEST_F(PortTest, OpenPortKeepsItsSettingsButTakesTheNewChoice) {
    ui.choice = {0, "/dev/ttyS0", 3, "115200"};
    ASSERT_TRUE(qmr::OpenPort());
    ui.choice = {2, "/dev/ttyUSB0", 0, "9600"};

    EXPECT_TRUE(qmr::OpenPort());

    EXPECT_EQ(line.opened.size(), 1u);
    EXPECT_EQ(line.configured.size(), 1u);
    EXPECT_TRUE(line.written.empty());
    EXPECT_EQ(ui.choiceReads, 2);
    EXPECT_EQ(Link().PortIndex, 2);
    EXPECT_EQ(Link().BaudIndex, 0);
    EXPECT_EQ(Link().BaudRate, 9600);
}

TEST_F(PortTest, FailingOpenIsReportedAndLeavesThePortClosed) {
    line.openHandle = -1;

    EXPECT_FALSE(qmr::OpenPort());

    EXPECT_EQ(Link().PortHandle, -1);
    ASSERT_EQ(ui.messages.size(), 1u);
    EXPECT_EQ(ui.messages[0].text, "Can't open serial port");
    EXPECT_EQ(ui.messages[0].caption, "Error");
    EXPECT_EQ(ui.messages[0].buttons, qmr::MbOk);
    EXPECT_TRUE(line.configured.empty());
}

TEST_F(PortTest, NoPortSelectedFailsToOpen) {
    ui.choice = {-1, "", 3, "115200"};
    EXPECT_FALSE(qmr::OpenPort());
    EXPECT_EQ(line.opened, std::vector<std::string>{""});
    EXPECT_EQ(ui.MessageTexts(), std::vector<std::string>{"Can't open serial port"});
    EXPECT_EQ(Link().PortIndex, -1);
}

TEST_F(PortTest, NoSpeedSelectedAsksForSpeedZero) {
    ui.choice = {0, "/dev/ttyS0", -1, ""};
    EXPECT_TRUE(qmr::OpenPort());
    EXPECT_EQ(Link().BaudRate, 0);
    EXPECT_EQ(Link().BaudIndex, -1);
    ASSERT_EQ(line.configured.size(), 1u);
    EXPECT_EQ(line.configured[0].baudRate, 0);
}

TEST_F(PortTest, CloseClosesOnceAndReopenOpensAgain) {
    ASSERT_TRUE(qmr::OpenPort());
    qmr::ClosePort();
    qmr::ClosePort();
    EXPECT_EQ(line.closes, 1);
    EXPECT_EQ(Link().PortHandle, -1);
    EXPECT_TRUE(qmr::OpenPort());
    EXPECT_EQ(line.opened.size(), 2u);
}

}  // namespace
}  // namespace qmrtest
