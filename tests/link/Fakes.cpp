#include "Fakes.h"

#include <algorithm>
#include <cstdlib>
#include <stdexcept>

#include "Settings.h"
#include "Transport.h"

namespace qmrtest {

Bytes ToBytes(std::string_view text) { return Bytes(text.begin(), text.end()); }

void FakeClock::SleepMs(int ms) {
    sleeps.push_back(ms);
    now += static_cast<std::int64_t>(ms) * 1000;
}

int FakeLine::Open(const std::string& device) {
    opened.push_back(device);
    return device.empty() ? -1 : openHandle;
}

void FakeLine::Configure(int baudRate, bool switchOffXonXoff) { configured.push_back({baudRate, switchOffXonXoff}); }

int FakeLine::BytesWaiting() {
    if (failBytesWaiting) return -1;
    if (babble) return 1;
    const auto arrived = std::partition_point(incoming_.begin(), incoming_.end(),
                                              [&](const Arrival& a) { return a.atUs <= clock_.now; });
    return static_cast<int>(arrived - incoming_.begin());
}

bool FakeLine::WriteByte(std::uint8_t value) {
    written.push_back(value);
    // A request is complete when as many bytes as its Len tells have come.
    if (pending_.empty() && value != 0x01) return true;
    pending_.push_back(value);
    if (pending_.size() >= 2 && pending_.size() == static_cast<std::size_t>(pending_[1] - 0x24 + 10)) {
        requests.push_back(pending_);
        pending_.clear();
        if (responder_) responder_(requests.back(), static_cast<int>(requests.size()) - 1);
    }
    return true;
}

bool FakeLine::WriteBytes(const std::uint8_t* data, int count) {
    pieces.push_back(count);
    if (droppedPieces.count(static_cast<int>(pieces.size()) - 1) != 0) return false;
    return SerialLine::WriteBytes(data, count);
}

bool FakeLine::ReadByte(std::uint8_t& value) {
    ++reads;
    if (babble) {
        value = babble();
        return true;
    }
    if (incoming_.empty() || incoming_.front().atUs > clock_.now) return false;
    value = incoming_.front().byte;
    incoming_.pop_front();
    return true;
}

int FakeLine::ReadBytes(std::uint8_t* buffer, int max) {
    ++readCalls;
    return SerialLine::ReadBytes(buffer, max);
}

void FakeLine::SleepThrough(std::int64_t us) {
    if (!sleepsThrough) {
        WaitForInput(us);
        return;
    }
    ++waits;
    sleptThrough.push_back(us);
    clock_.now += us;
}

void FakeLine::WaitForInput(std::int64_t maxWaitUs) {
    ++waits;
    const std::int64_t until = clock_.now + maxWaitUs;
    if (!incoming_.empty() && incoming_.front().atUs <= until)
        clock_.now = std::max(clock_.now, incoming_.front().atUs);
    else
        clock_.now = until;
}

void FakeLine::Arrive(const Bytes& bytes, std::int64_t afterUs, std::int64_t gapUs) {
    std::int64_t at = clock_.now + afterUs;
    for (const std::uint8_t b : bytes) {
        const Arrival arrival{at, b};
        const auto place = std::upper_bound(incoming_.begin(), incoming_.end(), arrival,
                                            [](const Arrival& x, const Arrival& y) { return x.atUs < y.atUs; });
        incoming_.insert(place, arrival);
        at += gapUs;
    }
}

void FakeUi::PumpEvents() {
    ++pumps;
    if (onPump) onPump(pumps);
}

void FakeUi::PumpEventsWhenDue() {
    ++duePumps;
    if (!skipsDuePumps) PumpEvents();
}

int FakeUi::ShowMessage(const std::string& text, const std::string& caption, int buttons) {
    messages.push_back({text, caption, buttons, connectEnabled});
    if (onMessage) onMessage();
    return buttons == qmr::MbYesNo ? qmr::IdYes : qmr::IdOk;
}

void FakeUi::ShowStatusDialog() {
    ++statusDialogs;
    connectEnabledAtDialog = connectEnabled;
}

void FakeUi::SetConnectEnabled(bool enabled) {
    connectCalls.push_back(enabled);
    connectEnabled = enabled;
}

qmr::PortChoice FakeUi::ReadPortChoice() {
    ++choiceReads;
    return choice;
}

std::vector<std::string> FakeUi::MessageTexts() const {
    std::vector<std::string> texts;
    for (const auto& m : messages) texts.push_back(m.text);
    return texts;
}

bool FakeSettingsStore::Open(bool create) {
    ++opens;
    if (!openable) return false;
    if (!exists && !create) return false;
    exists = true;
    return true;
}

std::optional<int> FakeSettingsStore::ReadInt(const std::string& name) {
    reads.push_back(name);
    const auto it = values.find(name);
    if (it == values.end() || !std::holds_alternative<int>(it->second)) return std::nullopt;
    return std::get<int>(it->second);
}

std::string FakeSettingsStore::ReadText(const std::string& name) {
    reads.push_back(name);
    const auto it = values.find(name);
    if (it == values.end() || !std::holds_alternative<std::string>(it->second)) return {};
    return std::get<std::string>(it->second);
}

void FakeSettingsStore::Close() {
    ++closes;
    if (closeThrows) throw std::runtime_error("settings not stored");
}

void FakeSettingsStore::Write(const std::string& name, Value value) {
    writes.push_back(name);
    values[name] = std::move(value);
}

Bytes ReplyTo(const Bytes& request, std::string_view data, const Status& status) {
    return qmr::BuildReplyFrame(request.at(2), request.at(3), data, status);
}

void Resum(Bytes& frame) {
    std::uint32_t sum = 0;
    for (std::size_t k = 1; k + 5 < frame.size(); ++k) sum += frame[k];
    const auto chars = qmr::EncodeChecksum(sum);
    std::copy(chars.begin(), chars.end(), frame.end() - 5);
}

void LinkFixture::SetUp() {
    unsetenv("QMR770_PORTS");
    qmr::SetPortSource([] { return std::vector<std::string>{"/dev/ttyFAKE0"}; });
    Install();
    if (openAtStart) OpenFakePort();
}

void LinkFixture::TearDown() {
    qmr::InstallLink({});
    qmr::SetPortSource({});
}

void LinkFixture::Install() { qmr::InstallLink({&line, &clock, &ui}); }

void LinkFixture::OpenFakePort() {
    ASSERT_TRUE(qmr::OpenPort());
    ui.choiceReads = 0;
    line.opened.clear();
    line.configured.clear();
}

void LinkFixture::AnswerEvery(std::function<Bytes(const Bytes& request, int index)> make) {
    line.OnRequest([this, make](const Bytes& request, int index) { line.Arrive(make(request, index)); });
}

void LinkFixture::AnswerOk(std::string_view data, const Status& status) {
    const std::string text(data);
    AnswerEvery([text, status](const Bytes& request, int) { return ReplyTo(request, text, status); });
}

}  // namespace qmrtest
