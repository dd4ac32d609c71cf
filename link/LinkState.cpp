#include "LinkState.h"

#include <chrono>
#include <thread>

namespace qmr {

namespace {

LinkState state;
LinkEnv env;

class SteadyClock final : public Clock {
public:
    std::int64_t NowUs() override {
        using namespace std::chrono;
        return duration_cast<microseconds>(steady_clock::now().time_since_epoch()).count();
    }
    void SleepMs(int ms) override { std::this_thread::sleep_for(std::chrono::milliseconds(ms)); }
};

}  // namespace

int SerialLine::ReadBytes(std::uint8_t* buffer, int max) {
    int n = 0;
    while (n < max && ReadByte(buffer[n])) ++n;
    return n;
}

bool SerialLine::WriteBytes(const std::uint8_t* data, int count) {
    bool written = false;
    for (int k = 0; k < count; ++k) written = WriteByte(data[k]);
    return written;
}

std::string LinkState::ReplyText() const { return std::string(ReplyData.data()); }

LinkState& Link() { return state; }
LinkEnv& Env() { return env; }

void InstallLink(const LinkEnv& newEnv) {
    state = LinkState{};
    env = newEnv;
    if (!env.clock) env.clock = &SystemClock();
}

Clock& SystemClock() {
    static SteadyClock clock;
    return clock;
}

}  // namespace qmr
