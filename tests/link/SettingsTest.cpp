// The connection settings kept between runs, and the port list.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSettings>
#include <QTemporaryDir>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <functional>
#include <sched.h>
#include <stdexcept>
#include <sys/mount.h>
#include <unistd.h>

#include "../test-utility/DiskLimit.h"
#include "Cp1251.h"
#include "Fakes.h"
#include "LinkState.h"
#include "Settings.h"

namespace qmrtest {
namespace {

using qmr::Link;

const std::vector<std::string> ThreePorts = {"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyUSB0"};

class SettingsTest : public ::testing::Test {
protected:
    void SetUp() override {
        unsetenv("QMR770_PORTS");
        qmr::InstallLink({});
        qmr::SetPortSource([] { return ThreePorts; });
    }
    void TearDown() override {
        qmr::SetPortSource({});
        unsetenv("QMR770_PORTS");
    }

    FakeSettingsStore store;
    qmr::ConsoleTexts console{"untouched", "untouched too"};
};

TEST_F(SettingsTest, NoKeyGivesTheDefaultsAndLeavesTheConsoleTexts) {
    store.exists = false;
    Link().PortIndex = 2;
    Link().BaudIndex = 0;

    qmr::LoadSettings(store, &console);

    EXPECT_EQ(Link().PortIndex, 0);
    EXPECT_EQ(Link().BaudIndex, 3);
    EXPECT_EQ(console.command, "untouched");
    EXPECT_EQ(console.data, "untouched too");
    EXPECT_EQ(Link().PortList, ThreePorts);
    EXPECT_TRUE(store.reads.empty());
}

TEST_F(SettingsTest, StoredValuesAreReadInTheirOrder) {
    store.values = {{"SerialPort", 2}, {"Bauds", 1}, {"Command", std::string("74")}, {"Data", std::string("\xC0\xC1")}};

    qmr::LoadSettings(store, &console);

    EXPECT_EQ(Link().PortIndex, 2);
    EXPECT_EQ(Link().BaudIndex, 1);
    EXPECT_EQ(console.command, "74");
    EXPECT_EQ(console.data, "\xC0\xC1");
    EXPECT_EQ(store.reads, (std::vector<std::string>{"SerialPort", "Bauds", "Command", "Data"}));
    EXPECT_EQ(store.closes, 1);
}

TEST_F(SettingsTest, InitVariantReadsNoConsoleTexts) {
    store.values = {{"SerialPort", 1}, {"Bauds", 0}, {"Command", std::string("74")}};
    qmr::LoadSettings(store, nullptr);
    EXPECT_EQ(Link().PortIndex, 1);
    EXPECT_EQ(Link().BaudIndex, 0);
    EXPECT_EQ(store.reads, (std::vector<std::string>{"SerialPort", "Bauds"}));
}

TEST_F(SettingsTest, MissingTextReadsAsEmpty) {
    store.values = {{"SerialPort", 0}, {"Bauds", 2}, {"Command", std::string("90")}};
    qmr::LoadSettings(store, &console);
    EXPECT_EQ(console.command, "90");
    EXPECT_EQ(console.data, "");
}

struct StoredCase {
    const char* name;
    std::map<std::string, FakeSettingsStore::Value> values;
    int portIndex;
    int baudIndex;
    bool consoleRead;
};

class StoredValueTest : public SettingsTest, public ::testing::WithParamInterface<StoredCase> {};

TEST_P(StoredValueTest, ReadingStopsAtTheFirstMissingOrMistypedValue) {
    store.values = GetParam().values;
    store.values["Command"] = std::string("cmd");
    store.values["Data"] = std::string("data");

    qmr::LoadSettings(store, &console);

    EXPECT_EQ(Link().PortIndex, GetParam().portIndex);
    EXPECT_EQ(Link().BaudIndex, GetParam().baudIndex);
    EXPECT_EQ(console.command, GetParam().consoleRead ? "cmd" : "untouched");
    EXPECT_EQ(store.closes, 1);
}

INSTANTIATE_TEST_SUITE_P(
    Values, StoredValueTest,
    ::testing::Values(StoredCase{"PortBeyondTheListBecomesFirst", {{"SerialPort", 5}, {"Bauds", 2}}, 0, 2, true},
                      StoredCase{"PortJustBeyondTheList", {{"SerialPort", 3}, {"Bauds", 2}}, 0, 2, true},
                      StoredCase{"LastPortStays", {{"SerialPort", 2}, {"Bauds", 2}}, 2, 2, true},
                      StoredCase{"NegativePortStays", {{"SerialPort", -1}, {"Bauds", -1}}, -1, -1, true},
                      StoredCase{"BaudsOutsideTheListStays", {{"SerialPort", 1}, {"Bauds", 7}}, 1, 7, true},
                      StoredCase{"BaudsMissing", {{"SerialPort", 1}}, 1, 3, false},
                      StoredCase{"PortMissing", {{"Bauds", 1}}, 0, 3, false},
                      StoredCase{"PortMistyped", {{"SerialPort", std::string("1")}, {"Bauds", 1}}, 0, 3, false},
                      StoredCase{"BaudsMistyped", {{"SerialPort", 2}, {"Bauds", std::string("1")}}, 2, 3, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsTest, FailingCloseOnLoadIsSilent) {
    store.values = {{"SerialPort", 1}, {"Bauds", 1}};
    store.closeThrows = true;
    EXPECT_NO_THROW(qmr::LoadSettings(store, &console));
    EXPECT_EQ(Link().PortIndex, 1);
}

TEST_F(SettingsTest, SaveWritesIndexesAndTexts) {
    store.exists = false;
    console = {"107", "F"};

    qmr::SaveSettings(store, -1, 2, &console);

    EXPECT_EQ(store.writes, (std::vector<std::string>{"SerialPort", "Bauds", "Command", "Data"}));
    EXPECT_EQ(std::get<int>(store.values["SerialPort"]), -1);
    EXPECT_EQ(std::get<int>(store.values["Bauds"]), 2);
    EXPECT_EQ(std::get<std::string>(store.values["Command"]), "107");
    EXPECT_EQ(std::get<std::string>(store.values["Data"]), "F");
    EXPECT_EQ(store.closes, 1);
}

TEST_F(SettingsTest, InitVariantSavesNoTexts) {
    qmr::SaveSettings(store, 1, -1, nullptr);
    EXPECT_EQ(store.writes, (std::vector<std::string>{"SerialPort", "Bauds"}));
    EXPECT_EQ(std::get<int>(store.values["Bauds"]), -1);
}

TEST_F(SettingsTest, KeyThatCannotBeOpenedGetsNothing) {
    store.openable = false;
    qmr::SaveSettings(store, 1, 1, &console);
    EXPECT_TRUE(store.writes.empty());
    EXPECT_EQ(store.closes, 0);

    qmr::LoadSettings(store, &console);
    EXPECT_EQ(Link().PortIndex, 0);
    EXPECT_EQ(Link().BaudIndex, 3);
}

TEST_F(SettingsTest, FailingCloseOnSaveReachesTheCaller) {
    store.closeThrows = true;
    EXPECT_THROW(qmr::SaveSettings(store, 1, 1, &console), std::runtime_error);
}

struct PortListCase {
    const char* name;
    std::vector<std::string> system;
    std::string extra;
    std::vector<std::string> expected;
};

class PortListTest : public ::testing::TestWithParam<PortListCase> {};

TEST_P(PortListTest, ListsTheSystemPortsThenTheExtraOnes) {
    EXPECT_EQ(qmr::ListPorts(GetParam().system, GetParam().extra), GetParam().expected);
}

std::vector<std::string> ComZeroToFifteen() {
    std::vector<std::string> names;
    for (int k = 0; k < 16; ++k) names.push_back("COM" + std::to_string(k));
    return names;
}

INSTANTIATE_TEST_SUITE_P(
    Lists, PortListTest,
    ::testing::Values(
        PortListCase{"SortedByDeviceName", {"/dev/ttyUSB0", "/dev/ttyS1", "/dev/ttyS0"}, "",
                     {"/dev/ttyS0", "/dev/ttyS1", "/dev/ttyUSB0"}},
        PortListCase{"CaseIgnoredAndStable", {"/dev/b", "/dev/A", "/dev/a", "/dev/B"}, "",
                     {"/dev/A", "/dev/a", "/dev/b", "/dev/B"}},
        PortListCase{"NoneGivesComNames", {}, "", ComZeroToFifteen()},
        PortListCase{"ExtraAfterTheSystemPorts", {"/dev/ttyS1", "/dev/ttyS0"}, "/dev/pts/7:/dev/pts/3",
                     {"/dev/ttyS0", "/dev/ttyS1", "/dev/pts/7", "/dev/pts/3"}},
        PortListCase{"EmptyItemsAndRepeatsLeftOut", {"/dev/ttyS0"}, ":/dev/pts/3::/dev/ttyS0:/dev/pts/3:",
                     {"/dev/ttyS0", "/dev/pts/3"}},
        PortListCase{"ExtraAloneIsTheWholeList", {}, "/dev/pts/4", {"/dev/pts/4"}},
        PortListCase{"OnlyEmptyExtraItemsGiveComNames", {}, "::", ComZeroToFifteen()}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsTest, EnumerationTakesTheSourceAndTheEnvironment) {
    setenv("QMR770_PORTS", "/tmp/sim-pty:/dev/ttyS0", 1);
    qmr::SetPortSource([] { return std::vector<std::string>{"/dev/ttyS0", "/dev/TTYA"}; });
    Link().PortList = {"stale"};

    qmr::EnumeratePorts();

    EXPECT_EQ(Link().PortList, (std::vector<std::string>{"/dev/TTYA", "/dev/ttyS0", "/tmp/sim-pty"}));
}

// A program starts reading the ports before it builds its forms: the first
// enumeration takes that reading, from the source in effect when it began,
// and the next one reads the ports again.
TEST_F(SettingsTest, AReadingStartedEarlierIsTakenOnceThenThePortsAreReadAgain) {
    qmr::StartPortEnumeration();
    qmr::SetPortSource([] { return std::vector<std::string>{"/dev/ttyACM0"}; });

    qmr::EnumeratePorts();
    EXPECT_EQ(Link().PortList, ThreePorts);
    qmr::EnumeratePorts();
    EXPECT_EQ(Link().PortList, std::vector<std::string>{"/dev/ttyACM0"});
}

// The real store, in a config folder of the test's own.
class QSettingsStoreTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(dir_.isValid());
        QSettings::setPath(QSettings::NativeFormat, QSettings::UserScope, dir_.path());
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, dir_.path());
    }
    QTemporaryDir dir_;
};

TEST_F(QSettingsStoreTest, WrittenValuesReadBackWithEveryHighByte) {
    std::string high;
    for (int b = 0x80; b <= 0xFF; ++b) high.push_back(static_cast<char>(b));
    {
        qmr::QSettingsStore store;
        EXPECT_FALSE(store.Open(false));  // nothing stored yet
        ASSERT_TRUE(store.Open(true));
        store.WriteInt("SerialPort", -1);
        store.WriteInt("Bauds", 2);
        store.WriteText("Command", "74");
        store.WriteText("Data", "A," + high);
        EXPECT_NO_THROW(store.Close());
    }
    qmr::QSettingsStore store;
    ASSERT_TRUE(store.Open(false));
    EXPECT_EQ(store.ReadInt("SerialPort"), -1);
    EXPECT_EQ(store.ReadInt("Bauds"), 2);
    EXPECT_EQ(store.ReadText("Command"), "74");
    EXPECT_EQ(store.ReadText("Data"), "A," + high);
    EXPECT_EQ(store.ReadText("Missing"), "");
    EXPECT_EQ(store.ReadInt("Missing"), std::nullopt);
    EXPECT_EQ(store.ReadInt("Data"), std::nullopt);
    store.Close();
}

// A settings file that cannot be parsed gives the defaults, and the next save
// puts a sound file in its place, with the damaged one kept beside it.
TEST_F(QSettingsStoreTest, DamagedFileGivesTheDefaultsAndIsReplacedOnTheNextSave) {
    qmr::InstallLink({});
    qmr::SetPortSource([] { return ThreePorts; });
    const QString path = QSettings("Zandrel", "QMR770").fileName();
    ASSERT_TRUE(QDir().mkpath(QFileInfo(path).path()));
    const QByteArray damaged = "[General\nSerialPort=2\nBauds=0\n";
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(damaged);
    }
    {
        qmr::QSettingsStore store;
        qmr::LoadSettings(store, nullptr);
        EXPECT_EQ(Link().PortIndex, 0);
        EXPECT_EQ(Link().BaudIndex, 3);
    }
    {
        qmr::QSettingsStore store;
        EXPECT_NO_THROW(qmr::SaveSettings(store, 1, 2, nullptr));
    }
    qmr::QSettingsStore store;
    qmr::LoadSettings(store, nullptr);
    EXPECT_EQ(Link().PortIndex, 1);
    EXPECT_EQ(Link().BaudIndex, 2);
    QFile aside(path + ".damaged");
    ASSERT_TRUE(aside.open(QIODevice::ReadOnly));
    EXPECT_EQ(aside.readAll(), damaged);
    qmr::SetPortSource({});
}

// The folder on a small disk of its own, mounted read-only, while one
// lives. The mount is seen by this thread alone (it gets a mount namespace
// of its own, and goes back to the old one at the end); it takes root's
// right to mount, and Failure() tells why it could not be made.
class ReadOnlyDisk {
public:
    ReadOnlyDisk(const QString& folder, const std::function<void()>& fill) : folder_(QFile::encodeName(folder)) {
        failure_ = Make(fill);
    }
    ~ReadOnlyDisk() {
        if (mounted_) {
            EXPECT_EQ(umount2(folder_.constData(), MNT_DETACH), 0);
        }
        if (away_) {
            EXPECT_EQ(setns(home_, CLONE_NEWNS), 0);
        }
        if (home_ >= 0) close(home_);
    }
    ReadOnlyDisk(const ReadOnlyDisk&) = delete;
    ReadOnlyDisk& operator=(const ReadOnlyDisk&) = delete;

    const std::string& Failure() const { return failure_; }

private:
    // Why the disk could not be made; empty when it was.
    std::string Make(const std::function<void()>& fill) {
        const auto why = [](const char* what) { return std::string(what) + " (" + std::strerror(errno) + ")"; };
        home_ = open("/proc/thread-self/ns/mnt", O_RDONLY | O_CLOEXEC);
        if (home_ < 0) return why("no mount namespace to come back to");
        if (unshare(CLONE_NEWNS) != 0) return why("cannot have mounts of its own");
        away_ = true;
        if (mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return why("cannot keep mounts private");
        if (mount("tmpfs", folder_.constData(), "tmpfs", 0, "size=64k") != 0) return why("cannot mount a tmpfs");
        mounted_ = true;
        fill();
        if (mount(nullptr, folder_.constData(), nullptr, MS_REMOUNT | MS_RDONLY, nullptr) != 0)
            return why("cannot remount the tmpfs read-only");
        return {};
    }

    QByteArray folder_;
    int home_ = -1;
    bool away_ = false;
    bool mounted_ = false;
    std::string failure_;
};

// Settings saved once, then a save that cannot be stored: it is told with the
// file's name, and the file saved before stays as it was.
class SettingsSaveFailure : public QSettingsStoreTest {
protected:
    QString File() const { return QSettings("Zandrel", "QMR770").fileName(); }
    QByteArray Content() const {
        QFile f(File());
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray("<missing>");
    }
    void SaveFirst() {
        qmr::QSettingsStore store;
        ASSERT_NO_THROW(qmr::SaveSettings(store, 1, 2, nullptr));
        saved_ = Content();
        ASSERT_TRUE(saved_.contains("SerialPort=1"));
    }
    void ExpectTheSaveToldAndTheOldFileKept() {
        qmr::QSettingsStore store;
        try {
            qmr::SaveSettings(store, 2, 0, nullptr);
            ADD_FAILURE() << "the save was not told to have failed";
        } catch (const std::runtime_error& e) {
            EXPECT_EQ(std::string(e.what()), "Can't write the settings to " + File().toStdString());
        }
        EXPECT_EQ(Content(), saved_);
    }
    QByteArray saved_;
};

TEST_F(SettingsSaveFailure, OnAFullDisk) {
    SaveFirst();
    const DiskLimit full(10);
    ExpectTheSaveToldAndTheOldFileKept();
}

TEST_F(SettingsSaveFailure, OnAReadOnlyDisk) {
    const ReadOnlyDisk disk(dir_.path(), [this] { SaveFirst(); });
    if (!disk.Failure().empty()) GTEST_SKIP() << "no read-only disk here: " << disk.Failure();
    ExpectTheSaveToldAndTheOldFileKept();
}

TEST_F(QSettingsStoreTest, LoadAndSaveRoundTrip) {
    qmr::InstallLink({});
    qmr::SetPortSource([] { return ThreePorts; });
    {
        qmr::QSettingsStore store;
        const qmr::ConsoleTexts saved{"111", "P,\xC0\xFF"};
        qmr::SaveSettings(store, 2, 0, &saved);
    }
    qmr::QSettingsStore store;
    qmr::ConsoleTexts loaded;
    qmr::LoadSettings(store, &loaded);
    EXPECT_EQ(Link().PortIndex, 2);
    EXPECT_EQ(Link().BaudIndex, 0);
    EXPECT_EQ(loaded.command, "111");
    EXPECT_EQ(loaded.data, "P,\xC0\xFF");
    qmr::SetPortSource({});
}

}  // namespace
}  // namespace qmrtest
