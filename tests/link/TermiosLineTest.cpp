// The line settings on a real terminal device (a pseudo-terminal here).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <ctime>
#include <string>

#include "TermiosLine.h"

namespace qmrtest {
namespace {

class TermiosLineTest : public ::testing::Test {
protected:
    void SetUp() override {
        master_ = posix_openpt(O_RDWR | O_NOCTTY);
        ASSERT_GE(master_, 0);
        ASSERT_EQ(grantpt(master_), 0);
        ASSERT_EQ(unlockpt(master_), 0);
        device_ = ptsname(master_);
        ASSERT_GE(line_.Open(device_), 0);
        // A terminal as the system leaves it: cooked, echoing, XON/XOFF on.
        termios tio{};
        ASSERT_EQ(tcgetattr(line_.fd(), &tio), 0);
        tio.c_lflag |= ICANON | ECHO | ISIG;
        tio.c_iflag |= ICRNL | IXON | IXOFF;
        tio.c_oflag |= OPOST;
        cfsetispeed(&tio, B9600);
        cfsetospeed(&tio, B9600);
        ASSERT_EQ(tcsetattr(line_.fd(), TCSANOW, &tio), 0);
    }
    void TearDown() override {
        line_.Close();
        if (master_ >= 0) close(master_);
    }
    termios Settings() {
        termios tio{};
        EXPECT_EQ(tcgetattr(line_.fd(), &tio), 0);
        return tio;
    }
    static void ExpectRaw8N1(const termios& tio) {
        EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
        EXPECT_EQ(tio.c_iflag & ICRNL, 0u);
        EXPECT_EQ(tio.c_oflag & OPOST, 0u);
        EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
        EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB), 0u);
    }

    int master_ = -1;
    std::string device_;
    qmr::TermiosLine line_;
};

TEST_F(TermiosLineTest, KnownSpeedGivesARaw8N1LineAtThatSpeed) {
    line_.Configure(57600, true);
    const termios tio = Settings();
    ExpectRaw8N1(tio);
    EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B57600));
    EXPECT_EQ(tio.c_iflag & (IXON | IXOFF), 0u);
}

TEST_F(TermiosLineTest, XonXoffStaysWhenNotAskedToSwitchItOff) {
    line_.Configure(115200, false);
    EXPECT_EQ(Settings().c_iflag & (IXON | IXOFF), static_cast<tcflag_t>(IXON | IXOFF));
}

// With no speed chosen the driver keeps its speed, but the line must still be
// 8-bit transparent: a cooked terminal would turn CR into LF and hold every
// byte back until a line end came.
TEST_F(TermiosLineTest, UnknownSpeedKeepsTheSpeedButStillMakesTheLineRaw) {
    line_.Configure(0, true);
    const termios tio = Settings();
    ExpectRaw8N1(tio);
    EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B9600));
}

// Waits ten slices of 20 ms on a line that has nothing to read and never
// will; true when they took their time without keeping the processor busy.
::testing::AssertionResult WaitsWithoutSpinning(qmr::TermiosLine& line) {
    const auto wallStart = std::chrono::steady_clock::now();
    const std::clock_t cpuStart = std::clock();
    for (int k = 0; k < 10; ++k) {
        if (line.BytesWaiting() > 0) return ::testing::AssertionFailure() << "bytes waiting";
        line.WaitForInput(20'000);
    }
    const auto wall = std::chrono::steady_clock::now() - wallStart;
    const double cpuSeconds = static_cast<double>(std::clock() - cpuStart) / CLOCKS_PER_SEC;
    if (wall < std::chrono::milliseconds(200) || cpuSeconds >= 0.1)
        return ::testing::AssertionFailure()
               << std::chrono::duration_cast<std::chrono::microseconds>(wall).count() << " us of waiting, "
               << cpuSeconds << " s of CPU";
    return ::testing::AssertionSuccess();
}

// With the far end gone every poll returns at once, and a port closed by a
// handler amid an exchange has nothing to poll; a reception waiting out its
// idle time must still sleep, not spin.
TEST_F(TermiosLineTest, LineWithNothingEverToReadWaitsWithoutSpinning) {
    line_.Configure(115200, true);
    close(master_);
    master_ = -1;
    EXPECT_TRUE(WaitsWithoutSpinning(line_)) << "hung up";
    line_.Close();
    EXPECT_TRUE(WaitsWithoutSpinning(line_)) << "closed";
}

TEST_F(TermiosLineTest, SecondOpenOfTheSameDeviceFails) {
    qmr::TermiosLine second;
    EXPECT_EQ(second.Open(device_), -1);
    EXPECT_EQ(second.Open(""), -1);
}

TEST_F(TermiosLineTest, AClosedDeviceIsOpenToOthersAgain) {
    // Held open meanwhile, as the simulator holds its pty.
    const int other = open(device_.c_str(), O_RDWR | O_NOCTTY);
    ASSERT_GE(other, 0);
    int exclusive = -1;
    ASSERT_EQ(ioctl(other, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 1);
    line_.Close();
    ASSERT_EQ(ioctl(other, TIOCGEXCL, &exclusive), 0);
    EXPECT_EQ(exclusive, 0);  // root opens through the flag; anyone else would be refused
    close(other);
    qmr::TermiosLine again;
    EXPECT_GE(again.Open(device_), 0);
}

// The wait after each write for the driver to send it: bytes held back for
// good (hardware handshake with CTS never raised) must not hold the program.
struct DrainCase {
    const char* name;
    int sentAfterUs;  // -1: never
    bool queryFails;
    bool expectSent;
};

class DrainTest : public ::testing::TestWithParam<DrainCase> {};

TEST_P(DrainTest, WaitsForTheQueueAtMostItsTime) {
    const DrainCase& c = GetParam();
    std::int64_t now = 0;
    int queries = 0;
    const auto queued = [&] {
        ++queries;
        if (c.queryFails) return -1;
        return (c.sentAfterUs >= 0 && now >= c.sentAfterUs) ? 0 : 1;
    };
    const bool sent = qmr::WaitForEmptyQueue(
        queued, [&] { return now; }, [&](std::int64_t us) { now += us; }, 1001000);
    EXPECT_EQ(sent, c.expectSent);
    EXPECT_LE(now, 1001000);
    if (!c.expectSent) {
        EXPECT_EQ(now, 1001000);
    }
    EXPECT_GE(queries, 1);
}

INSTANTIATE_TEST_SUITE_P(Drain, DrainTest,
                         ::testing::Values(DrainCase{"SentAtOnce", 0, false, true},
                                           DrainCase{"SentAfterAByteTime", 1042, false, true},
                                           DrainCase{"SentJustInTime", 1001000, false, true},
                                           DrainCase{"NeverSent", -1, false, false},
                                           DrainCase{"QueueCannotBeQueried", -1, true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// Ten bytes queued at 9600 baud are looked at again once their time on the
// line is over, not every tenth of a byte.
TEST(DrainWait, SleepsTheQueuedBytesTimeBetweenLooks) {
    constexpr std::int64_t byteUs = 1042;
    std::int64_t now = 0;
    int queries = 0;
    const auto queued = [&] {
        ++queries;
        return now >= 10 * byteUs ? 0 : static_cast<int>(10 - now / byteUs);
    };
    EXPECT_TRUE(qmr::WaitForEmptyQueue(
        queued, [&] { return now; }, [&](std::int64_t us) { now += us; }, 1010000, byteUs));
    EXPECT_EQ(queries, 2);
    EXPECT_EQ(now, 10 * byteUs);
}

}  // namespace
}  // namespace qmrtest
