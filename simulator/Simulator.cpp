#include "Simulator.h"

#include <fcntl.h>
#include <poll.h>
#include <sys/eventfd.h>
#include <sys/prctl.h>
#include <termios.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <stdexcept>

#include "LinkState.h"
#include "RequestReader.h"
#include "Transport.h"

namespace qmrsim {

namespace {

constexpr std::int64_t NsPerSecond = 1'000'000'000;
constexpr int BitsPerByte = 10;  // start bit, eight data bits, stop bit
// The longest single sleep, so that Stop() never waits long for the thread.
constexpr std::int64_t SleepSliceNs = 20'000'000;
constexpr unsigned long TimerSlackNs = 1000;
// Stray bytes for the noise fault: neither a start nor an end byte, or the
// receiver would take them for part of a frame.
constexpr std::array<std::uint8_t, 6> NoiseBytes{0x00, 0x7F, 0xFF, 0x55, 0x04, 0x05};

std::int64_t NowNs() {
    timespec ts{};
    ::clock_gettime(CLOCK_MONOTONIC, &ts);
    return static_cast<std::int64_t>(ts.tv_sec) * NsPerSecond + ts.tv_nsec;
}

void MakeRaw(int fd) {
    termios tio{};
    if (::tcgetattr(fd, &tio) != 0) return;
    ::cfmakeraw(&tio);
    tio.c_cc[VMIN] = 1;
    tio.c_cc[VTIME] = 0;
    ::tcsetattr(fd, TCSANOW, &tio);
}

std::uint8_t OtherSeq(std::uint8_t seq) {
    return seq >= qmr::LastSeq ? qmr::FirstSeq : static_cast<std::uint8_t>(seq + 1);
}

[[noreturn]] void Throw(const char* what) { throw std::runtime_error(std::string("simulator: ") + what); }

}  // namespace

Simulator::Simulator() : Simulator(nullptr) {}

Simulator::Simulator(Printer& printer) : Simulator(&printer) {}

Simulator::Simulator(Printer* printer)
    : ownPrinter_(printer ? nullptr : std::make_unique<Printer>()), printer_(printer ? printer : ownPrinter_.get()) {
    try {
        OpenPty();
    } catch (...) {
        CloseFds();  // no destructor runs for a constructor that throws
        throw;
    }
    thread_ = std::thread([this] { Run(); });
}

Simulator::~Simulator() {
    Stop();
    CloseFds();
}

void Simulator::CloseFds() {
    for (int* fd : {&slave_, &master_, &wake_}) {
        if (*fd >= 0) ::close(*fd);
        *fd = -1;
    }
}

void Simulator::OpenPty() {
    master_ = ::posix_openpt(O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (master_ < 0) Throw("posix_openpt failed");
    if (::grantpt(master_) != 0 || ::unlockpt(master_) != 0) Throw("cannot unlock the pty");
    char name[128] = {};
    if (::ptsname_r(master_, name, sizeof name) != 0) Throw("no pty slave name");
    devicePath_ = name;
    slave_ = ::open(name, O_RDWR | O_NOCTTY | O_CLOEXEC);
    if (slave_ < 0) Throw("cannot open the pty slave");
    MakeRaw(master_);
    MakeRaw(slave_);
    // Non-blocking, so that a reader that never drains the slave cannot keep
    // the thread in write() past Stop().
    ::fcntl(master_, F_SETFL, ::fcntl(master_, F_GETFL) | O_NONBLOCK);
    wake_ = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (wake_ < 0) Throw("eventfd failed");
}

void Simulator::Stop() {
    stopping_ = true;
    if (wake_ >= 0) {
        const std::uint64_t one = 1;
        [[maybe_unused]] const auto n = ::write(wake_, &one, sizeof one);
    }
    if (thread_.joinable()) thread_.join();
}

std::vector<ReceivedRequest> Simulator::Requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

void Simulator::ClearRequests() {
    std::lock_guard lock(mutex_);
    requests_.clear();
}

void Simulator::InjectFault(Fault fault, int replies) {
    std::lock_guard lock(mutex_);
    faults_[fault] += replies;
}

void Simulator::SetObserver(Observer observer) {
    std::lock_guard lock(mutex_);
    observer_ = std::move(observer);
}

std::int64_t Simulator::ByteTimeNs(std::size_t bytes) const {
    const int baud = baud_;
    if (baud <= 0) return 0;
    return static_cast<std::int64_t>(bytes) * BitsPerByte * NsPerSecond / baud;
}

void Simulator::Run() {
    // Paced bytes are due every few tens of microseconds; the default timer
    // slack would make each sleep late by as much.
    ::prctl(PR_SET_TIMERSLACK, TimerSlackNs);
    RequestReader reader;
    std::int64_t frameStartNs = 0;
    std::size_t frameBytes = 0;
    std::array<std::uint8_t, 512> buffer{};
    while (!stopping_) {
        pollfd fds[2] = {{master_, POLLIN, 0}, {wake_, POLLIN, 0}};
        if (::poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[1].revents != 0) return;
        const ssize_t n = ::read(master_, buffer.data(), buffer.size());
        if (n <= 0) continue;  // EAGAIN, or a slave that has just gone
        const std::int64_t readNs = NowNs();
        for (ssize_t k = 0; k < n && !stopping_; ++k) {
            const std::uint8_t byte = buffer[static_cast<std::size_t>(k)];
            if (byte == qmr::StartByte) {
                frameStartNs = readNs;
                frameBytes = 0;
            }
            ++frameBytes;
            if (auto request = reader.Feed(byte)) Answer(*request, frameStartNs, frameBytes);
        }
    }
}

void Simulator::Answer(const Request& request, std::int64_t firstByteNs, std::size_t frameBytes) {
    // On a real line the last byte arrives only after the whole frame's time.
    const std::int64_t requestEndNs = firstByteNs + ByteTimeNs(frameBytes);
    if (!SleepUntil(requestEndNs)) return;

    std::vector<std::uint8_t> wire;
    {
        std::lock_guard lock(mutex_);
        ReceivedRequest received{request};
        if (last_ && static_cast<const Request&>(*last_) == request) {
            // A retry: the printer has done this already and only says so again.
            received.times = last_->times + 1;
        } else {
            lastReply_ = printer_->Handle(request);
        }
        last_ = received;
        requests_.push_back(received);
        if (observer_) observer_(received, lastReply_, *printer_);
        wire = TakeFaultsAndShape(qmr::BuildReplyFrame(request.seq, request.cmd, lastReply_.data, lastReply_.status),
                                  request);
    }
    WriteBytes(wire, std::max(requestEndNs, NowNs()));
}

std::vector<std::uint8_t> Simulator::TakeFaultsAndShape(std::vector<std::uint8_t> frame, const Request& request) {
    auto take = [this](Fault fault) {
        auto it = faults_.find(fault);
        if (it == faults_.end() || it->second <= 0) return false;
        if (--it->second == 0) faults_.erase(it);
        return true;
    };
    // Take every kind that is due, so that each counts this reply.
    const bool silence = take(Fault::Silence);
    const bool wrongSeq = take(Fault::WrongSeq);
    const bool wrongCmd = take(Fault::WrongCmd);
    const bool badChecksum = take(Fault::BadChecksum);
    const bool noise = take(Fault::NoiseBeforeStart);
    const bool restart = take(Fault::RestartInside);
    const bool cutShort = take(Fault::CutShort);
    if (silence) return {};

    if (wrongSeq || wrongCmd) {
        const Reply& reply = lastReply_;
        frame = qmr::BuildReplyFrame(wrongSeq ? OtherSeq(request.seq) : request.seq,
                                     wrongCmd ? static_cast<std::uint8_t>(request.cmd + 1) : request.cmd, reply.data,
                                     reply.status);
    }
    if (badChecksum) {
        auto& last = frame[frame.size() - 2];  // the last checksum character
        last = static_cast<std::uint8_t>(0x30 + ((last - 0x30 + 1) & 0xF));
    }
    if (restart) {
        // The beginning of the frame up to its data, then the frame again.
        std::vector<std::uint8_t> prefix(frame.begin(), frame.begin() + 4);
        frame.insert(frame.begin(), prefix.begin(), prefix.end());
    }
    if (noise) frame.insert(frame.begin(), NoiseBytes.begin(), NoiseBytes.end());
    if (cutShort) frame.resize(frame.size() / 2);
    return frame;
}

bool Simulator::WaitWritable() {
    pollfd fds[2] = {{master_, POLLOUT, 0}, {wake_, POLLIN, 0}};
    while (::poll(fds, 2, -1) < 0) {
        if (errno != EINTR) return false;
    }
    return fds[1].revents == 0 && (fds[0].revents & POLLOUT) != 0;
}

bool Simulator::WriteBytes(const std::vector<std::uint8_t>& bytes, std::int64_t startNs) {
    const bool paced = baud_ > 0;
    std::size_t done = 0;
    while (done < bytes.size()) {
        if (stopping_) return false;
        // A paced byte goes out once the line would have carried it, each
        // against an absolute deadline so that no rounding adds up.
        if (paced && !SleepUntil(startNs + ByteTimeNs(done + 1))) return false;
        const std::size_t chunk = paced ? 1 : bytes.size() - done;
        const ssize_t n = ::write(master_, bytes.data() + done, chunk);
        if (n > 0) {
            done += static_cast<std::size_t>(n);
        } else if (n < 0 && errno != EAGAIN && errno != EINTR) {
            return false;
        } else if (!WaitWritable()) {
            return false;
        }
    }
    return true;
}

bool Simulator::SleepUntil(std::int64_t deadlineNs) {
    for (;;) {
        if (stopping_) return false;
        const std::int64_t now = NowNs();
        if (now >= deadlineNs) return true;
        const std::int64_t until = std::min(deadlineNs, now + SleepSliceNs);
        const timespec ts{static_cast<time_t>(until / NsPerSecond), static_cast<long>(until % NsPerSecond)};
        ::clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &ts, nullptr);
    }
}

}  // namespace qmrsim
