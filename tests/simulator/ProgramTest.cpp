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
    qmr::InstallLink({&line, nullptr, &ui, qmr::LinkVariant::InitUtility});
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
    qmr::InstallLink({&line, nullptr, &ui, qmr::LinkVariant::InitUtility});
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

TEST_F(SimProgram, RefusesAnUnknownOptionOrABadSpeed) {
    for (const auto& args : {std::vector<std::string>{"--fast"}, std::vector<std::string>{"--baud", "12x"},
                             std::vector<std::string>{"--baud"}, std::vector<std::string>{"--fm-free", "-1"},
                             std::vector<std::string>{"--fm-free", "99999"}}) {
        Start(args);
        EXPECT_EQ(Wait(), 2) << args[0];
        ::close(out_);
        out_ = -1;
    }
}

}  // namespace
}  // namespace qmrsim
