// The serial line on a POSIX terminal device (a real port, a USB adapter or a
// pseudo-terminal).
#pragma once

#include "LinkState.h"

namespace qmr {

class TermiosLine final : public SerialLine {
public:
    ~TermiosLine() override;
    int Open(const std::string& device) override;
    void Configure(int baudRate, bool switchOffXonXoff) override;
    void Close() override;
    int BytesWaiting() override;
    bool WriteByte(std::uint8_t value) override;
    bool ReadByte(std::uint8_t& value) override;
    void WaitForInput(std::int64_t maxWaitUs) override;

    int fd() const { return fd_; }

private:
    int fd_ = -1;
};

}  // namespace qmr
