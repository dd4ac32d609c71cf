// The serial line on a POSIX terminal device (a real port, a USB adapter or a
// pseudo-terminal).
#pragma once

#include <cstdint>
#include <functional>

#include "LinkState.h"

namespace qmr {

// Waits until `queued` reports nothing left for the driver to send, or until
// `timeoutUs` has passed; true when the queue emptied or cannot be queried.
// `nowUs` reads a steady clock, `sleepUs` sleeps without processing events.
// While bytes are queued it sleeps about their time on the line (`byteUs`
// each), so a queue is looked at a few times, not once per poll.
bool WaitForEmptyQueue(const std::function<int()>& queued, const std::function<std::int64_t()>& nowUs,
                       const std::function<void(std::int64_t)>& sleepUs, std::int64_t timeoutUs,
                       std::int64_t byteUs = 0);

class TermiosLine final : public SerialLine {
public:
    ~TermiosLine() override;
    int Open(const std::string& device) override;
    void Configure(int baudRate, bool switchOffXonXoff) override;
    void Close() override;
    int BytesWaiting() override;
    bool WriteByte(std::uint8_t value) override;
    bool WriteBytes(const std::uint8_t* data, int count) override;
    bool ReadByte(std::uint8_t& value) override;
    int ReadBytes(std::uint8_t* buffer, int max) override;
    void WaitForInput(std::int64_t maxWaitUs) override;
    void SleepThrough(std::int64_t us) override;

    int fd() const { return fd_; }

private:
    int fd_ = -1;
    std::int64_t byteUs_ = 0;  // one byte's time at the speed set, 0 when unknown
};

}  // namespace qmr
