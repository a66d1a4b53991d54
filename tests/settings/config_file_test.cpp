#include "settings/config_file.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <clocale>
#include <cmath>
#include <filesystem>
#include <future>

#include "log/event_log.h"
#include "platform/headless.h"
#include "tests/testkit/temp_dir.h"

namespace korvex {
namespace {

// The documented factory file, line by line.
std::string FactoryFile() {
    static const std::string text =
        test::TempDir::readFile(KORVEX_TEST_DATA "/settings/factory-config.dat");
    return text;
}

struct ConfigFileTest : ::testing::Test {
    test::TempDir dir;
    EventLog log;
    ScriptedHost host;
    MachineSettings s = FactorySettings();
    ConfigFileTest() {
        log.start(dir.path());
        log.setHost(&host);
    }
    int load(const std::string& content) {
        dir.write("config.dat", content);
        return LoadSettings(s, log, "config.dat", 1, dir.path());
    }
};

TEST_F(ConfigFileTest, FactoryFileIsByteExactAndRoundTrips) {
    ASSERT_EQ(SaveSettings(s, log, "config.dat", 1, dir.path()), 1);
    EXPECT_EQ(dir.read("config.dat"), FactoryFile());
    EXPECT_FALSE(std::filesystem::exists(dir.file("config.dat.tmp")));

    s.language = 1;
    s.lptAddress = 0x3BC;
    s.mmPerStepX = 0.0125f;
    s.setupName = "shop";
    ASSERT_EQ(SaveSettings(s, log, "config.dat", 1, dir.path()), 1);
    EXPECT_NE(dir.read("config.dat").find("\n3BC\n"), std::string::npos);
    MachineSettings back;
    ASSERT_EQ(LoadSettings(back, log, "config.dat", 1, dir.path()), 1);
    EXPECT_EQ(back, s);
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(ConfigFileTest, WrittenWithFullStopWhateverTheLocale) {
    const char* locales[] = {"de_DE.UTF-8", "cs_CZ.UTF-8", "fr_FR.UTF-8"};
    const char* set = nullptr;
    for (const char* l : locales)
        if ((set = std::setlocale(LC_NUMERIC, l))) break;
    if (!set) GTEST_SKIP() << "no locale with a decimal comma installed";
    SaveSettings(s, log, "config.dat", 1, dir.path());
    std::setlocale(LC_NUMERIC, "C");
    EXPECT_EQ(dir.read("config.dat"), FactoryFile());
}

// A short file keeps the defaults; an odd language stays (until factory
// defaults) and silences messages.
TEST_F(ConfigFileTest, ShortFileKeepsDefaultsAndAnOddLanguageSilencesMessages) {
    ASSERT_EQ(load("1\n"), 1);
    MachineSettings expected = FactorySettings();
    expected.language = 1;
    EXPECT_EQ(s, expected);
    EXPECT_EQ(load(""), 1);
    ASSERT_EQ(load("7\n"), 1);
    EXPECT_EQ(s.language, 7);
    log.setLanguage(&s.language);
    const int before = log.lineCount();
    log.say(Text{"cesky", "english"}, true, true);
    EXPECT_EQ(log.lineCount(), before);
}

TEST_F(ConfigFileTest, UnparsableValueStopsEveryLaterNumericField) {
    std::string text = FactoryFile();
    // Line 5 (cuttingSpeed) becomes a word; line 6 onwards would be read as 2.5.
    text.replace(text.find("1.000000\n1.000000\n"), 18, "fast\n2.500000\n");
    ASSERT_EQ(load(text), 1);
    EXPECT_FLOAT_EQ(s.cuttingSpeed, 1.0f);
    EXPECT_FLOAT_EQ(s.cutDepth, 1.0f);  // default, not 2.5
    // The string fields take the next words where the scan stopped.
    EXPECT_EQ(s.setupName, "fast");
    EXPECT_EQ(s.setupVersion, "2.500000");
    EXPECT_EQ(s.laserPenMode, 0);
}

TEST_F(ConfigFileTest, NameWithSpaceLosesItsTailAndLaserModeKeepsDefault) {
    s.setupName = "my shop";
    s.laserPenMode = 1;
    SaveSettings(s, log, "config.dat", 1, dir.path());
    ASSERT_EQ(LoadSettings(s, log, "config.dat", 1, dir.path()), 1);
    EXPECT_EQ(s.setupName, "my");
    EXPECT_EQ(s.setupVersion, "shop");
    EXPECT_EQ(s.laserPenMode, 0);
}

TEST_F(ConfigFileTest, HostileContentNeverOverruns) {
    std::string text = FactoryFile();
    text.replace(text.find("default"), 7, std::string(5000, 'N'));
    text += std::string("\0\xff\x01 garbage 99999999999999999999 -1e999\n", 40);
    ASSERT_EQ(load(text), 1);
    EXPECT_EQ(s.setupName.size(), kMaxSettingsString);
    EXPECT_EQ(s.setupVersion, "1.0.2.7");

    // A binary first word stops every numeric field; the strings take words.
    ASSERT_EQ(load(std::string("\0\0\0\xfe\n1\n", 7)), 1);
    EXPECT_EQ(s.setupName, std::string("\0\0\0\xfe", 4));
    EXPECT_EQ(s.setupVersion, "1");
    s.setupName = "default";
    s.setupVersion = "1.0.2.7";
    EXPECT_EQ(s, FactorySettings());

    // Huge numbers saturate instead of wrapping; huge reals become infinite.
    ASSERT_EQ(load("99999999999999999999\n1e999\n"), 1);
    EXPECT_EQ(s.language, 2147483647);
    EXPECT_TRUE(std::isinf(s.mmPerStepX));
}

TEST_F(ConfigFileTest, MissingOrHugeFileIsRefusedWithABoxAndGivesFactoryDefaults) {
    s.language = 1;
    s.cutDepth = 7;
    EXPECT_EQ(LoadSettings(s, log, "config.dat", 1, dir.path()), 0);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].title, "Problém/Error");
    EXPECT_EQ(host.boxes[0].text.rfind("error with loading setup \n No such file", 0), 0u)
        << host.boxes[0].text;
    MachineSettings expected = FactorySettings();
    expected.language = 1;
    EXPECT_EQ(s, expected);
    // A huge file is refused too; a device is as the FIFO below is.
    EXPECT_EQ(load(FactoryFile() + std::string(100'000, ' ')), 0);
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[1].text, "read error with some value of settings (from file)");
}

// A per-user folder's first start writes the factory file; what is there
// already, a dangling link included, is left alone.
TEST_F(ConfigFileTest, FirstStartSeedsTheFactoryFileOnlyWhereThereIsNone) {
    ASSERT_EQ(SeedConfigFile(log, dir.path()), 1);
    EXPECT_EQ(dir.read("config.dat"), FactoryFile());
    ASSERT_EQ(LoadSettings(s, log, "config.dat", 1, dir.path()), 1);
    EXPECT_TRUE(host.boxes.empty());

    dir.write("config.dat", "1\n");
    EXPECT_EQ(SeedConfigFile(log, dir.path()), 0);
    EXPECT_EQ(dir.read("config.dat"), "1\n");
    std::filesystem::remove(dir.file("config.dat"));
    std::filesystem::create_symlink(dir.file("elsewhere.dat"), dir.file("config.dat"));
    EXPECT_EQ(SeedConfigFile(log, dir.path()), 0);
    EXPECT_FALSE(std::filesystem::exists(dir.file("elsewhere.dat")));
}

TEST_F(ConfigFileTest, SavingThroughALinkWritesItsTargetAndKeepsTheMode) {
    namespace fs = std::filesystem;
    const fs::path target = fs::path(dir.path()) / "machines" / "router.dat";
    fs::create_directory(target.parent_path());
    dir.write("machines/router.dat", FactoryFile());
    fs::permissions(target, fs::perms::owner_read | fs::perms::owner_write);
    fs::create_symlink(target, fs::path(dir.path()) / "config.dat");
    s = FactorySettings();
    s.cutDepth = 2.5f;
    ASSERT_EQ(SaveSettings(s, log, "config.dat", 1, dir.path()), 1);
    EXPECT_TRUE(fs::is_symlink(fs::path(dir.path()) / "config.dat"));
    EXPECT_EQ(fs::status(target).permissions() & fs::perms::all,
              fs::perms::owner_read | fs::perms::owner_write);
    MachineSettings back;
    ASSERT_EQ(LoadSettings(back, log, target.string(), 0, ""), 1);
    EXPECT_EQ(back.cutDepth, 2.5f);
}

// A FIFO stands in for a device node: the same rules hold for both, and a
// test may make one without privileges.
TEST_F(ConfigFileTest, FifoIsNeitherWaitedForNorReplaced) {
    namespace fs = std::filesystem;
    const std::string fifo = dir.file("pipe");
    ASSERT_EQ(::mkfifo(fifo.c_str(), 0600), 0);
    fs::create_symlink(fifo, dir.file("config.dat"));
    s.language = 1;
    auto loading = std::async(std::launch::async,
                              [&] { return LoadSettings(s, log, "config.dat", 1, dir.path()); });
    if (loading.wait_for(std::chrono::seconds(5)) != std::future_status::ready) {
        ::close(::open(fifo.c_str(), O_WRONLY | O_NONBLOCK));  // lets the reader go
        FAIL() << "the load waited for a writer";
    }
    EXPECT_EQ(loading.get(), 0);

    EXPECT_EQ(SaveSettings(s, log, "config.dat", 1, dir.path()), 0);
    EXPECT_TRUE(fs::is_fifo(fifo));
    EXPECT_TRUE(fs::is_symlink(dir.file("config.dat")));
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].text.rfind("error with loading setup \n ", 0), 0u);
    EXPECT_EQ(host.boxes[1].text.rfind("error with writing setup \n ", 0), 0u);
}

TEST_F(ConfigFileTest, FailedSaveLeavesTheOldFileWhole) {
    dir.write("config.dat", FactoryFile());
    s.language = 1;
    // A directory in the temporary file's place makes the write fail.
    std::filesystem::create_directory(dir.file("config.dat.tmp"));
    EXPECT_EQ(SaveSettings(s, log, "config.dat", 1, dir.path()), 0);
    EXPECT_EQ(dir.read("config.dat"), FactoryFile());
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text.rfind("error with writing setup \n ", 0), 0u);

    EXPECT_EQ(SaveSettings(s, log, dir.file("nowhere/x.dat"), 0, ""), 0);
}

TEST(SettingsFields, ShowListsRecordOrder) {
    auto lines = SettingsFieldLines(FactorySettings());
    ASSERT_EQ(lines.size(), 68u);
    EXPECT_EQ(lines[0], "language=0");
    EXPECT_EQ(lines[5], "plungeSpeed=1.000000");
    EXPECT_EQ(lines[24], "lptAddress=378");
    EXPECT_EQ(lines[67], "laserPenMode=0");
}

TEST(SettingsDefaults, FactoryKeepsOnlyAValidLanguage) {
    MachineSettings s;
    s.language = 1;
    s.invertEmergency = 1;
    s.pinLimitX = 3;
    LoadFactoryDefaults(s);
    EXPECT_EQ(s.language, 1);
    EXPECT_EQ(s.invertEmergency, 0);
    EXPECT_EQ(s.pinLimitX, 32);
    for (int odd : {-3, 7}) {
        s.language = odd;
        LoadFactoryDefaults(s);
        EXPECT_EQ(s.language, 0);
    }

    s.invertEmergency = 1;
    s.invertSwitches = 0;
    s.drawByRefresh = 0;
    DefaultPinAssignment(s);
    EXPECT_EQ(s.invertEmergency, 1);
    EXPECT_EQ(s.invertSwitches, 1);
    EXPECT_EQ(s.drawByRefresh, 1);
}

}  // namespace
}  // namespace korvex
