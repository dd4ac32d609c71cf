// The simulated printer on a pseudo-terminal: the programs open DevicePath()
// as if it were the printer's serial port.
#pragma once

#include <array>
#include <atomic>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "Printer.h"

namespace qmrsim {

// Ways to spoil the next replies, as a bad line or a confused printer would.
enum class Fault {
    Silence,           // no reply at all
    WrongSeq,          // the reply echoes another Seq
    WrongCmd,          // the reply echoes another Cmd
    BadChecksum,       // the checksum characters do not match the bytes
    NoiseBeforeStart,  // stray bytes ahead of the start byte
    RestartInside,     // a garbled beginning, then a second start byte and the whole reply
    CutShort,          // the reply stops half way, no end byte, then silence
};

// One request frame as it came in.
struct ReceivedRequest : Request {
    // 1 for a new request, 2 for the first repeat of the same frame, and so on.
    int times = 1;
};

class Simulator {
public:
    // Plays a printer of its own.
    Simulator();
    // Plays the given printer, which must outlive the simulator.
    explicit Simulator(Printer& printer);
    ~Simulator();
    Simulator(const Simulator&) = delete;
    Simulator& operator=(const Simulator&) = delete;

    // The pty's slave device, "/dev/pts/N".
    const std::string& DevicePath() const { return devicePath_; }

    // Runs f(printer) while the printer thread keeps off the printer.
    template <class F>
    auto WithPrinter(F&& f) {
        std::lock_guard lock(mutex_);
        return f(*printer_);
    }

    // Every request frame received, in order; a repeat is listed again.
    std::vector<ReceivedRequest> Requests() const;
    void ClearRequests();

    // Spoils the next `replies` replies with the fault (faults of different
    // kinds combine).
    void InjectFault(Fault fault, int replies = 1);

    // Paces the line: each byte in either direction takes ten bit times.
    // 0 lets bytes through as fast as the pty takes them.
    void SetBaudRate(int baud) { baud_ = baud; }

    // Called after each request is answered, under the printer's lock (the
    // printer is passed for reading what it printed); it must not call back
    // into the simulator.
    using Observer = std::function<void(const ReceivedRequest&, const Reply&, const Printer&)>;
    void SetObserver(Observer observer);

    // Ends the printer thread; the pty stays open until destruction.
    void Stop();

private:
    explicit Simulator(Printer* printer);
    void OpenPty();
    void CloseFds();
    void Run();
    void Answer(const Request& request, std::int64_t firstByteNs, std::size_t frameBytes);
    std::vector<std::uint8_t> TakeFaultsAndShape(std::vector<std::uint8_t> frame, const Request& request);
    bool WriteBytes(const std::vector<std::uint8_t>& bytes, std::int64_t startNs);
    bool WaitWritable();
    bool SleepUntil(std::int64_t deadlineNs);
    std::int64_t ByteTimeNs(std::size_t bytes) const;

    std::unique_ptr<Printer> ownPrinter_;
    Printer* printer_;
    mutable std::mutex mutex_;
    std::vector<ReceivedRequest> requests_;
    std::map<Fault, int> faults_;
    Observer observer_;
    // The last request and the printer's answer to it, to tell a retry.
    std::optional<ReceivedRequest> last_;
    Reply lastReply_;

    int master_ = -1;
    int slave_ = -1;  // held open so the master never sees a hang-up between programs
    int wake_ = -1;
    std::string devicePath_;
    std::atomic<int> baud_{0};
    std::atomic<bool> stopping_{false};
    std::thread thread_;
};

}  // namespace qmrsim
