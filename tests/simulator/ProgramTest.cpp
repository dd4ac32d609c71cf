// qmr770-sim as a user runs it: the device on its first line, a line for
// each request, a link to the device that lives as long as the program.
#include <gtest/gtest.h>

#include <poll.h>
#include <signal.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

#include "Commands.h"
#include "Executor.h"
#include "LinkState.h"
#include "TermiosLine.h"
#include "Transport.h"

namespace qmrsim {
namespace {

class NoUi final : public qmr::UiHooks {
public:
    explicit NoUi(std::string device) : device_(std::move(device)) {}
    int ShowMessage(const std::string&, const std::string&, int) override { return qmr::IdOk; }
    qmr::PortChoice ReadPortChoice() override { return {0, device_, 3, "115200"}; }

private:
    std::string device_;
};

class SimProgram : public ::testing::Test {
protected:
    // Starts the program with the arguments; its output comes through out_.
    void Start(std::vector<std::string> args) {
        int fds[2];
        ASSERT_EQ(::pipe(fds), 0);
        args.insert(args.begin(), QMR770_SIM);
        pid_ = ::fork();
        ASSERT_GE(pid_, 0);
        if (pid_ == 0) {
            ::dup2(fds[1], STDOUT_FILENO);
            ::dup2(fds[1], STDERR_FILENO);
            std::vector<char*> argv;
            for (auto& a : args) argv.push_back(a.data());
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            ::_exit(127);
        }
        ::close(fds[1]);
        out_ = fds[0];
    }
    // One line of output, without its newline; empty after five seconds of nothing.
    std::string ReadLine() {
        std::string line;
        char c = 0;
        for (;;) {
            pollfd p{out_, POLLIN, 0};
            if (::poll(&p, 1, 5000) <= 0 || ::read(out_, &c, 1) != 1 || c == '\n') return line;
            line += c;
        }
    }
    // The exit status, or -1 when the program did not end by itself.
    int Wait() {
        int status = 0;
        for (int k = 0; k < 500; ++k) {
            if (::waitpid(pid_, &status, WNOHANG) == pid_) {
                pid_ = -1;
                return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
            }
            ::usleep(10'000);
        }
        return -1;
    }
    void TearDown() override {
        if (pid_ > 0) {
            ::kill(pid_, SIGKILL);
            ::waitpid(pid_, nullptr, 0);
        }
        if (out_ >= 0) ::close(out_);
        qmr::InstallLink({});
    }

    pid_t pid_ = -1;
    int out_ = -1;
};

TEST_F(SimProgram, ServesAServicedPrinterThroughItsLinkAndTidiesUpOnTerm) {
    const std::string link = ::testing::TempDir() + "qmr770-sim-" + std::to_string(::getpid());
    Start({"--link", link});
    const std::string device = ReadLine();
    ASSERT_EQ(device.rfind("/dev/pts/", 0), 0u) << device;
    char target[PATH_MAX] = {};
    ASSERT_GT(::readlink(link.c_str(), target, sizeof target - 1), 0);
    EXPECT_EQ(std::string(target), device);

    qmr::TermiosLine line;
    NoUi ui(link);
    qmr::InstallLink({&line, nullptr, &ui});
    ASSERT_TRUE(qmr::OpenPort());
    EXPECT_EQ(qmr::ExecCommand(qmr::ReadStatus, ""), qmr::ResultOk);
    EXPECT_EQ(qmr::Link().StatusWord, qmr::swSerialSet | qmr::swFmFormatted | qmr::swTaxRatesSet);
    EXPECT_EQ(ReadLine(), "> 74 ReadStatus seq 0x20 \"\"");
    qmr::ClosePort();

    ASSERT_EQ(::kill(pid_, SIGTERM), 0);
    EXPECT_EQ(Wait(), 0);
    struct stat st {};
    EXPECT_NE(::lstat(link.c_str(), &st), 0);
}

TEST_F(SimProgram, StartsWithAFiscalMemoryNearlyFullOnRequest) {
    Start({"--fm-free", "3"});
    const std::string device = ReadLine();
    qmr::TermiosLine line;
    NoUi ui(device);
    qmr::InstallLink({&line, nullptr, &ui});
    ASSERT_TRUE(qmr::OpenPort());
    qmr::ExecCommand(qmr::ReadStatus, "");
    EXPECT_TRUE(qmr::Link().StatusWord & qmr::swFmNearFull);
    EXPECT_FALSE(qmr::Link().StatusWord & qmr::swFmFull);
    for (int reset = 0; reset < 3; ++reset) {
        qmr::ExecCommand(qmr::PerformReset, "");
        EXPECT_FALSE(qmr::Link().StatusWord & qmr::StatusErrorMask) << reset;
    }
    EXPECT_TRUE(qmr::Link().StatusWord & qmr::swFmFull);
    qmr::ExecCommand(qmr::PerformReset, "");
    EXPECT_TRUE(qmr::Link().StatusWord & qmr::swNotPermitted);
    qmr::ClosePort();
}

// The state a printer keeps across power cycles is kept in its file across
// restarts, even of a simulator that was killed.
TEST_F(SimProgram, TheStateFileCarriesThePrinterAcrossARestart) {
    const std::string state = ::testing::TempDir() + "qmr770-state-" + std::to_string(::getpid());
    ::unlink(state.c_str());
    qmr::TermiosLine line;
    auto talk = [&](const std::vector<std::string>& args, auto&& exchange) {
        Start(args);
        NoUi ui(ReadLine());
        qmr::InstallLink({&line, nullptr, &ui});
        ASSERT_TRUE(qmr::OpenPort());
        exchange();
        qmr::ClosePort();
        ::kill(pid_, SIGKILL);
        ::waitpid(pid_, nullptr, 0);
        pid_ = -1;
        ::close(out_);
        out_ = -1;
    };
    talk({"--state", state, "--start", "blank"}, [] {
        EXPECT_EQ(qmr::ExecCommand(qmr::SetSerialAndCountry, "6,AB123456"), qmr::ResultOk);
        EXPECT_EQ(qmr::ExecCommand(qmr::ConfigureReceiptLayout, "0SHOP"), qmr::ResultOk);
        EXPECT_EQ(qmr::Link().StatusWord, qmr::swSerialSet | qmr::swFmFormatted);
    });
    talk({"--state", state}, [] {
        EXPECT_EQ(qmr::ExecCommand(qmr::ReadDeviceInfo, ""), qmr::ResultOk);
        EXPECT_EQ(qmr::Link().StatusWord, qmr::swSerialSet | qmr::swFmFormatted);
        EXPECT_NE(qmr::Link().ReplyText().find(",6,AB123456,"), std::string::npos) << qmr::Link().ReplyText();
        EXPECT_EQ(qmr::ExecCommand(qmr::ConfigureReceiptLayout, "I0"), qmr::ResultOk);
        EXPECT_EQ(qmr::Link().ReplyText(), "SHOP");
    });
    // Starting over replaces what the file held.
    talk({"--state", state, "--start", "ready"}, [] {
        EXPECT_EQ(qmr::ExecCommand(qmr::ConfigureReceiptLayout, "I0"), qmr::ResultOk);
        EXPECT_EQ(qmr::Link().ReplyText(), "");
    });
    ::unlink(state.c_str());
}

TEST_F(SimProgram, ADamagedStateFileIsNamedAndLeftAsItIs) {
    const std::string state = ::testing::TempDir() + "qmr770-damaged-" + std::to_string(::getpid());
    const std::string damaged = "qmr770-state 1\n[status]\nfiscalised 7\n";
    FILE* f = std::fopen(state.c_str(), "wb");
    ASSERT_NE(f, nullptr);
    std::fputs(damaged.c_str(), f);
    std::fclose(f);
    Start({"--state", state});
    const std::string message = ReadLine();
    EXPECT_NE(message.find(state + ": damaged state file (section [status] cannot be read)"), std::string::npos)
        << message;
    EXPECT_EQ(Wait(), 1);
    char text[256] = {};
    f = std::fopen(state.c_str(), "rb");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(std::fread(text, 1, sizeof text - 1, f), damaged.size());
    std::fclose(f);
    EXPECT_EQ(std::string(text), damaged);
    ::unlink(state.c_str());
}

TEST_F(SimProgram, RefusesAnUnknownOptionOrABadSpeed) {
    for (const auto& args : {std::vector<std::string>{"--fast"}, std::vector<std::string>{"--baud", "12x"},
                             std::vector<std::string>{"--baud"}, std::vector<std::string>{"--fm-free", "-1"},
                             std::vector<std::string>{"--fm-free", "99999"}, std::vector<std::string>{"--start", "new"},
                             std::vector<std::string>{"--state"}}) {
        Start(args);
        EXPECT_EQ(Wait(), 2) << args[0];
        ::close(out_);
        out_ = -1;
    }
}

}  // namespace
}  // namespace qmrsim
