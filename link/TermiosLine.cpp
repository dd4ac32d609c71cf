#include "TermiosLine.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/file.h>
#include <sys/ioctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <ctime>

namespace qmr {

namespace {

// A write to the port may take 1 ms for each of its bytes and a second on
// top; what the driver has not sent by then counts as failed.
constexpr std::int64_t WriteTimeoutPerByteUs = 1000;
constexpr std::int64_t WriteTimeoutUs = 1000000;

// How often a byte held back by the driver is looked after: about a tenth of
// a byte's time at the slowest speed.
constexpr std::int64_t DrainPollUs = 100;

std::int64_t MonotonicUs() {
    timespec now{};
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<std::int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
}

void SleepUs(std::int64_t us) {
    const timespec ts{static_cast<time_t>(us / 1000000), static_cast<long>((us % 1000000) * 1000)};
    ::nanosleep(&ts, nullptr);
}

bool SpeedOf(int baudRate, speed_t& speed) {
    switch (baudRate) {
        case 9600: speed = B9600; return true;
        case 19200: speed = B19200; return true;
        case 57600: speed = B57600; return true;
        case 115200: speed = B115200; return true;
        default: return false;
    }
}

}  // namespace

bool WaitForEmptyQueue(const std::function<int()>& queued, const std::function<std::int64_t()>& nowUs,
                       const std::function<void(std::int64_t)>& sleepUs, std::int64_t timeoutUs,
                       std::int64_t byteUs) {
    const std::int64_t deadline = nowUs() + timeoutUs;
    for (;;) {
        const int count = queued();
        if (count <= 0) return true;
        const std::int64_t left = deadline - nowUs();
        if (left <= 0) return false;
        sleepUs(std::min(left, std::max(DrainPollUs, count * byteUs)));
    }
}

TermiosLine::~TermiosLine() { Close(); }

int TermiosLine::Open(const std::string& device) {
    if (device.empty()) return -1;
    const int fd = ::open(device.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    // Only one program on a port at a time: the advisory lock keeps out our
    // other program, TIOCEXCL any later open of the device.
    if (::flock(fd, LOCK_EX | LOCK_NB) != 0) {
        ::close(fd);
        return -1;
    }
    ::ioctl(fd, TIOCEXCL);
    fd_ = fd;
    return fd;
}

void TermiosLine::Configure(int baudRate, bool switchOffXonXoff) {
    if (fd_ < 0) return;
    termios tio{};
    if (::tcgetattr(fd_, &tio) != 0) return;
    // A speed the driver does not know leaves the speed it had. The rest is
    // still set: a terminal is not 8-bit transparent by itself, and a cooked
    // one would turn CR into LF and hold bytes back until a line end.
    speed_t speed{};
    if (SpeedOf(baudRate, speed)) {
        ::cfsetispeed(&tio, speed);
        ::cfsetospeed(&tio, speed);
        byteUs_ = 10 * std::int64_t{1000000} / baudRate;
    }
    tio.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | CSTOPB);
    tio.c_cflag |= CS8 | CREAD | CLOCAL;
    tio.c_iflag &= ~static_cast<tcflag_t>(IGNBRK | BRKINT | PARMRK | ISTRIP | INLCR | IGNCR | ICRNL | INPCK);
    if (switchOffXonXoff) tio.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    tio.c_oflag &= ~static_cast<tcflag_t>(OPOST);
    tio.c_lflag &= ~static_cast<tcflag_t>(ECHO | ECHONL | ICANON | ISIG | IEXTEN);
    tio.c_cc[VMIN] = 0;
    tio.c_cc[VTIME] = 0;
    ::tcsetattr(fd_, TCSANOW, &tio);
    int dtr = TIOCM_DTR;
    ::ioctl(fd_, TIOCMBIC, &dtr);  // a pseudo-terminal has no modem lines; that is fine
}

void TermiosLine::Close() {
    if (fd_ < 0) return;
    // A device that someone else still holds open (the simulator its pty)
    // would stay exclusive, and refuse every later open by either program.
    ::ioctl(fd_, TIOCNXCL);
    ::close(fd_);
    fd_ = -1;
    byteUs_ = 0;
}

int TermiosLine::BytesWaiting() {
    int count = 0;
    if (fd_ < 0 || ::ioctl(fd_, FIONREAD, &count) != 0) return -1;
    return count;
}

bool TermiosLine::WriteByte(std::uint8_t value) { return WriteBytes(&value, 1); }

bool TermiosLine::WriteBytes(const std::uint8_t* data, int count) {
    if (fd_ < 0) return false;
    if (count <= 0) return true;
    // A plain drain has no time-out: with hardware handshake left on in the
    // driver and nothing raising CTS it would wait for ever. Like a write to
    // the port, writing and draining give up together after 1 ms a byte plus
    // a second; what is left is then dropped, so a frame that cannot leave
    // shows as silence.
    const std::int64_t deadline = MonotonicUs() + count * WriteTimeoutPerByteUs + WriteTimeoutUs;
    const auto giveUp = [this] {
        ::tcflush(fd_, TCOFLUSH);
        return false;
    };
    int done = 0;
    while (done < count) {
        const ssize_t n = ::write(fd_, data + done, static_cast<std::size_t>(count - done));
        if (n > 0) {
            done += static_cast<int>(n);
            continue;
        }
        if (n < 0 && errno == EINTR) continue;
        if (n < 0 && errno != EAGAIN && errno != EWOULDBLOCK) return giveUp();
        const std::int64_t left = deadline - MonotonicUs();
        if (left <= 0) return giveUp();
        pollfd p{fd_, POLLOUT, 0};
        if (::poll(&p, 1, static_cast<int>((left + 999) / 1000)) <= 0) return giveUp();
    }
    const bool sent = WaitForEmptyQueue(
        [this] {
            int queued = 0;
            return ::ioctl(fd_, TIOCOUTQ, &queued) == 0 ? queued : -1;
        },
        MonotonicUs, SleepUs, std::max<std::int64_t>(deadline - MonotonicUs(), 0), byteUs_);
    if (!sent) return giveUp();
    ::tcdrain(fd_);  // what is left is the driver's own bounded wait for its hardware
    return true;
}

bool TermiosLine::ReadByte(std::uint8_t& value) {
    if (fd_ < 0) return false;
    return ::read(fd_, &value, 1) == 1;
}

int TermiosLine::ReadBytes(std::uint8_t* buffer, int max) {
    if (fd_ < 0 || max <= 0) return 0;
    for (;;) {
        const ssize_t n = ::read(fd_, buffer, static_cast<std::size_t>(max));
        if (n < 0 && errno == EINTR) continue;
        return n > 0 ? static_cast<int>(n) : 0;
    }
}

void TermiosLine::SleepThrough(std::int64_t us) {
    if (us <= 0) return;
    SleepUs(us);
}

void TermiosLine::WaitForInput(std::int64_t maxWaitUs) {
    if (maxWaitUs <= 0) return;
    timespec deadline{};
    ::clock_gettime(CLOCK_MONOTONIC, &deadline);
    const std::int64_t ns = deadline.tv_nsec + maxWaitUs * 1000;
    deadline.tv_sec += static_cast<time_t>(ns / 1000000000);
    deadline.tv_nsec = static_cast<long>(ns % 1000000000);
    // A line whose far end is gone (a pty's printer stopped, an adapter
    // pulled) reports so at once and on every poll, and a closed one has
    // nothing to poll: with nothing to read, the slice is slept out all the
    // same, or waiting for the idle time-out would keep a core busy for the
    // whole exchange.
    bool sleepOut = fd_ < 0;
    if (!sleepOut) {
        pollfd p{fd_, POLLIN, 0};
        const timespec ts{static_cast<time_t>(maxWaitUs / 1000000), static_cast<long>((maxWaitUs % 1000000) * 1000)};
        sleepOut = ::ppoll(&p, 1, &ts, nullptr) > 0 && (p.revents & (POLLHUP | POLLERR | POLLNVAL)) != 0;
    }
    if (sleepOut)
        while (::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &deadline, nullptr) == EINTR) {
        }
}

}  // namespace qmr
