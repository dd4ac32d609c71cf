#include "Executor.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

#include "LinkState.h"
#include "Transport.h"

namespace qmr {

const StatusBitMapping StatusBitTable[26] = {
    {0, 0, swSyntaxError},  {0, 1, swInvalidCommand},    {0, 2, swClockNotSet},
    {0, 3, swDisplayOff},   {0, 5, swCommonError},       {1, 0, swOverflow},
    {1, 1, swNotPermitted}, {1, 2, swStatus12},          {1, 4, swRamReset},
    {1, 5, swCoverOpen},    {2, 0, swPaperOut},          {2, 1, swPaperNearEnd},
    {2, 2, swJournalOut},   {2, 3, swFiscalReceiptOpen}, {2, 4, swJournalNearEnd},
    {2, 5, swNonFiscalReceiptOpen},                      {4, 0, swFmWriteError},
    {4, 2, swSerialSet},    {4, 3, swFmNearFull},        {4, 4, swFmFull},
    {4, 5, swCommonFiscalError},                         {5, 0, swFmReadOnly},
    {5, 1, swFmFormatted},  {5, 2, swStatus52},          {5, 3, swFiscalized},
    {5, 4, swTaxRatesSet},
};

namespace {

bool exchangeRunning = false;
std::vector<std::function<void()>> afterExchange;

// Handlers run from the pumped windows may refuse-mark the status word for
// their own mask tests; what the running exchange has put there is its own
// and is put back once the windows return.
class KeepExchangeStatus {
public:
    KeepExchangeStatus() : word_(Link().StatusWord), result_(Link().CommandResult) {}
    ~KeepExchangeStatus() {
        Link().StatusWord = word_;
        Link().CommandResult = result_;
    }

private:
    std::uint32_t word_;
    int result_;
};

// The link's UI hooks, wrapped so that nothing a nested handler does to the
// shared status can leak into the exchange that is running.
class GuardedUi final : public UiHooks {
public:
    explicit GuardedUi(UiHooks* inner) : inner_(inner) {}
    void PumpEvents() override {
        KeepExchangeStatus keep;
        inner_->PumpEvents();
    }
    void PumpEventsWhenDue() override {
        KeepExchangeStatus keep;
        inner_->PumpEventsWhenDue();
    }
    int ShowMessage(const std::string& text, const std::string& caption, int buttons) override {
        KeepExchangeStatus keep;
        return inner_->ShowMessage(text, caption, buttons);
    }
    void ShowStatusDialog() override {
        KeepExchangeStatus keep;
        inner_->ShowStatusDialog();
    }
    void SetConnectEnabled(bool enabled) override { inner_->SetConnectEnabled(enabled); }
    PortChoice ReadPortChoice() override { return inner_->ReadPortChoice(); }

private:
    UiHooks* inner_;
};

class NullUi final : public UiHooks {
public:
    int ShowMessage(const std::string&, const std::string&, int) override { return IdOk; }
};

// One exchange at a time: the flag, the guarded hooks and the hold on the
// connect button live exactly as long as the exchange does, so an exchange
// that a throwing line or hook leaves still gives the button back.
class ExchangeScope {
public:
    ExchangeScope() : saved_(Env().ui), guarded_(saved_ ? saved_ : &nullUi_) {
        // First: a hold that cannot be taken leaves no exchange marked running.
        guarded_.SetConnectEnabled(false);
        exchangeRunning = true;
        Env().ui = &guarded_;
    }
    ~ExchangeScope() {
        guarded_.SetConnectEnabled(true);
        Env().ui = saved_;
        exchangeRunning = false;
        for (const auto& action : std::exchange(afterExchange, {})) action();
    }
    UiHooks& ui() { return guarded_; }

private:
    NullUi nullUi_;
    UiHooks* saved_;
    GuardedUi guarded_;
};

}  // namespace

bool LinkFailed() { return StatusHas(LinkStatusMask); }

bool Fatal() { return StatusHas(FatalStatusMask); }

bool Refused() { return StatusHas(StatusErrorMask); }

bool StatusHas(std::uint32_t bits) { return (Link().StatusWord & bits) != 0; }

bool ExchangeRunning() { return exchangeRunning; }

void AfterExchange(std::function<void()> action) {
    if (exchangeRunning)
        afterExchange.push_back(std::move(action));
    else
        action();
}

void MapStatus() {
    LinkState& s = Link();
    for (const auto& m : StatusBitTable) {
        if (s.StatusBytes[m.byte] & (1u << m.bit)) s.StatusWord |= m.word;
    }
}

bool CheckReplyFrame(int command) {
    LinkState& s = Link();
    const auto& b = s.ReceiveBuffer;
    if (b[0] != StartByte) return false;
    if (b[1] < ReplyLenBase) return false;
    const int m = b[1] - ReplyLenBase;  // at most 212, so every position below stays inside the buffer
    if (b[2] != s.SeqNumber) return false;
    if (b[3] != static_cast<std::uint8_t>(command)) return false;
    std::memcpy(s.ReplyData.data(), &b[4], static_cast<std::size_t>(m));
    s.ReplyData[static_cast<std::size_t>(m)] = '\0';
    if (b[4 + m] != StatusSep) return false;
    std::copy_n(&b[5 + m], 6, s.StatusBytes.begin());
    if (b[11 + m] != BodyEnd) return false;
    std::uint32_t sum = 0;
    for (int k = 1; k <= 11 + m; ++k) sum += b[k];
    if (sum != DecodeChecksum(&b[12 + m])) return false;
    return b[16 + m] == 0;
}

int ExecCommand(int command, std::string_view data) {
    LinkState& s = Link();
    if (exchangeRunning) {
        // Started from a window while another exchange waits for its reply:
        // the line, the buffers and the sequence belong to that one. The mark
        // stops the caller's mask test; the running exchange puts its own
        // status back when the windows return to it.
        s.StatusWord |= swNestedExchangeRefused;
        s.CommandResult = ResultNoLink;
        return ResultNoLink;
    }
    ExchangeScope scope;
    UiHooks& ui = scope.ui();
    // Whatever this command ends in, the reply of the one before it is not
    // its reply: a caller that reads on after a link failure reads nothing.
    s.ReplyData.fill('\0');

    if (s.PortHandle == -1) {
        ui.ShowMessage("Serial port not open", "Error", MbOk);
        s.CommandResult = ResultNoLink;
        s.StatusWord |= swPortClosed;
        return ResultNoLink;
    }
    data = UpToNul(data);
    // Set before the length test, so that the status dialog of a refused text
    // names the command the user tried.
    s.LastCommand = static_cast<std::uint8_t>(command);
    if (data.size() > static_cast<std::size_t>(MaxRequestData)) {
        // Len is one byte: such a text cannot be framed, so nothing is sent.
        ui.ShowMessage("Data too long", "Error", MbOk);
        s.StatusBytes.fill(0);
        s.StatusWord = swProtocolError;
        s.CommandResult = ResultProtocol;
        return ResultProtocol;
    }

    for (int attempt = 0; attempt < CommandTries; ++attempt) {
        s.CommandResult = ResultOk;
        s.StatusWord = 0;
        s.StatusBytes.fill(0);
        SendFrame(command, data);
        ReceiveFrame(ReceiveLimit);
        if (s.LinkError) {
            s.StatusWord |= swNoResponse;
            s.CommandResult = ResultNoLink;
        } else if (CheckReplyFrame(command)) {
            break;
        } else {
            s.StatusWord |= swProtocolError;
            s.CommandResult = ResultProtocol;
        }
        Env().clock->SleepMs(FailedTryPauseMs);
    }
    MapStatus();

    if (Refused()) {
        if (s.StatusWord & swNoResponse) {
            ui.ShowMessage("No printer response", "Error", MbOk);
        } else if (s.StatusWord & swProtocolError) {
            ui.ShowMessage("Protocol error", "Error", MbOk);
        } else if (!s.SuppressStatusDlg) {
            ui.ShowStatusDialog();
        }
    }
    NextSequence();
    return s.CommandResult;
}

QuietStatusDialog::QuietStatusDialog() : was_(Link().SuppressStatusDlg) { Link().SuppressStatusDlg = true; }

QuietStatusDialog::~QuietStatusDialog() { Link().SuppressStatusDlg = was_; }

bool ExecLinkFailed(int command, std::string_view data) {
    ExecCommand(command, data);
    return LinkFailed();
}

bool ExecFatal(int command, std::string_view data) {
    ExecCommand(command, data);
    return Fatal();
}

bool ExecRefused(int command, std::string_view data) {
    ExecCommand(command, data);
    return Refused();
}

int ExecCommandQuietly(int command, std::string_view data) {
    QuietStatusDialog quiet;
    return ExecCommand(command, data);
}

}  // namespace qmr
