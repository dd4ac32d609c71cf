// A fake serial line, clock and window set under the real link code, so an
// exchange of many seconds runs in a moment and every byte can be checked.
#pragma once

#include <gtest/gtest.h>

#include <array>
#include <deque>
#include <cstdint>
#include <functional>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <variant>
#include <vector>

#include "LinkState.h"
#include "Settings.h"

namespace qmrtest {

using Bytes = std::vector<std::uint8_t>;
using Status = std::array<std::uint8_t, 6>;

Bytes ToBytes(std::string_view text);

// Status bytes as the printer sends them: bit 7 set on every one, so that no
// status can be taken for a start or end byte.
constexpr Status Sent(Status bits) {
    for (auto& b : bits) b = static_cast<std::uint8_t>(b | 0x80);
    return bits;
}

class FakeClock final : public qmr::Clock {
public:
    std::int64_t NowUs() override { return now; }
    void SleepMs(int ms) override;

    std::int64_t now = 1'000'000'000;
    std::vector<int> sleeps;
};

class FakeLine final : public qmr::SerialLine {
public:
    // Called with every complete request frame and its number (0 first);
    // it usually schedules the reply with Arrive().
    using Responder = std::function<void(const Bytes& request, int index)>;

    explicit FakeLine(FakeClock& clock) : clock_(clock) {}

    int Open(const std::string& device) override;
    void Configure(int baudRate, bool switchOffXonXoff) override;
    void Close() override { ++closes; }
    int BytesWaiting() override;
    bool WriteByte(std::uint8_t value) override;
    bool WriteBytes(const std::uint8_t* data, int count) override;
    bool ReadByte(std::uint8_t& value) override;
    int ReadBytes(std::uint8_t* buffer, int max) override;
    void WaitForInput(std::int64_t maxWaitUs) override;
    void SleepThrough(std::int64_t us) override;

    // Bytes that arrive afterUs from now, then one every gapUs.
    void Arrive(const Bytes& bytes, std::int64_t afterUs = 0, std::int64_t gapUs = 0);
    void OnRequest(Responder responder) { responder_ = std::move(responder); }
    // The number of bytes scheduled that have not been read yet.
    std::size_t Unread() const { return incoming_.size(); }

    // What was written.
    Bytes written;
    std::vector<Bytes> requests;

    // Behaviour.
    bool failBytesWaiting = false;
    int openHandle = 7;  // -1 makes Open fail
    // When set, the line talks without end: every read brings its next byte.
    std::function<std::uint8_t()> babble;

    // What the link asked for.
    std::vector<std::string> opened;
    struct ConfigureCall {
        int baudRate;
        bool switchOffXonXoff;
    };
    std::vector<ConfigureCall> configured;
    int closes = 0;
    long reads = 0;
    // Calls of ReadBytes, and of the two waits.
    int readCalls = 0;
    int waits = 0;
    // When set, SleepThrough sleeps out its whole time, as a real line does,
    // and each such sleep is listed; otherwise it waits as WaitForInput.
    bool sleepsThrough = false;
    std::vector<std::int64_t> sleptThrough;
    // The size of each write of several bytes; the ones numbered here (0
    // first) time out, and their bytes never reach the line.
    std::vector<int> pieces;
    std::set<int> droppedPieces;

private:
    struct Arrival {
        std::int64_t atUs;
        std::uint8_t byte;
    };
    FakeClock& clock_;
    std::deque<Arrival> incoming_;  // in order of arrival
    Bytes pending_;
    Responder responder_;
};

class FakeUi final : public qmr::UiHooks {
public:
    struct Message {
        std::string text;
        std::string caption;
        int buttons;
        bool connectEnabled;  // the state of ConnectBt while it was shown
    };

    void PumpEvents() override;
    void PumpEventsWhenDue() override;
    int ShowMessage(const std::string& text, const std::string& caption, int buttons) override;
    void ShowStatusDialog() override;
    void SetConnectEnabled(bool enabled) override;
    qmr::PortChoice ReadPortChoice() override;

    std::vector<std::string> MessageTexts() const;

    std::vector<Message> messages;
    int statusDialogs = 0;
    bool connectEnabledAtDialog = true;
    std::vector<bool> connectCalls;
    bool connectEnabled = true;
    int pumps = 0;
    // The link's calls of PumpEventsWhenDue; with skipsDuePumps they do not
    // pump, as windows that pumped a moment ago would not.
    int duePumps = 0;
    bool skipsDuePumps = false;
    // Runs inside PumpEvents with the number of that pump (1 first).
    std::function<void(int pump)> onPump;
    // Runs inside a message box, as a handler might while it is open.
    std::function<void()> onMessage;
    qmr::PortChoice choice{0, "/dev/ttyFAKE0", 3, "115200"};
    int choiceReads = 0;
};

// One settings key held in memory.
class FakeSettingsStore final : public qmr::SettingsStore {
public:
    using Value = std::variant<int, std::string>;

    bool Open(bool create) override;
    std::optional<int> ReadInt(const std::string& name) override;
    std::string ReadText(const std::string& name) override;
    void WriteInt(const std::string& name, int value) override { Write(name, value); }
    void WriteText(const std::string& name, const std::string& value) override { Write(name, value); }
    void Close() override;

    bool exists = true;    // the key is there to be opened
    bool openable = true;  // false: no rights, not even to create it
    bool closeThrows = false;
    std::map<std::string, Value> values;
    std::vector<std::string> reads;
    std::vector<std::string> writes;
    int opens = 0;
    int closes = 0;

private:
    void Write(const std::string& name, Value value);
};

// The reply a well-behaved printer gives to a request.
Bytes ReplyTo(const Bytes& request, std::string_view data = {}, const Status& status = {});
// Recomputes the checksum of a reply frame whose length or bytes were changed
// (the checksum sits just before the last byte).
void Resum(Bytes& frame);

// The link installed over the fakes, with the port open.
class LinkFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;
    void Install();
    void OpenFakePort();
    // Every request is answered with what make() builds from it.
    void AnswerEvery(std::function<Bytes(const Bytes& request, int index)> make);
    // Every request is answered with a valid reply carrying data and status.
    void AnswerOk(std::string_view data = {}, const Status& status = {});
    bool openAtStart = true;
    FakeClock clock;
    FakeLine line{clock};
    FakeUi ui;
};

}  // namespace qmrtest
