#include "ui/solution_file.h"

#include <gtest/gtest.h>

#include "log/event_log.h"
#include "platform/headless.h"
#include "tests/testkit/temp_dir.h"

namespace korvex {
namespace {

struct SolutionFileTest : ::testing::Test {
    test::TempDir dir;
    EventLog log;
    ScriptedHost host;
    int language = 1;

    SolutionFileTest() {
        log.startFile(dir.file("listbox.txt"));
        log.setHost(&host);
        log.setLanguage(&language);
    }
};

TEST_F(SolutionFileTest, SaveAppendsTheExtensionOnlyWhenItIsMissingAndEmptiesTheFile) {
    host.files.push_back({true, dir.file("job"), 1});
    EXPECT_EQ(SaveSolution(log, host), 1);
    EXPECT_EQ(dir.read("job.sol"), "");
    EXPECT_EQ(host.fileDialogs[0][0].description, "File of Solution (*.sol)");
    EXPECT_EQ(host.fileDialogs[0][0].pattern, "*.sol");

    dir.write("a.sol.bak", "old content");
    host.files.push_back({true, dir.file("a.sol.bak"), 1});
    EXPECT_EQ(SaveSolution(log, host), 1);
    EXPECT_EQ(dir.read("a.sol.bak"), "");
    EXPECT_TRUE(host.boxes.empty());
}

TEST_F(SolutionFileTest, CancelDoesNothingAndFailuresNameTheSystemsReason) {
    EXPECT_EQ(SaveSolution(log, host), 0);
    EXPECT_EQ(LoadSolution(log, host), 0);
    EXPECT_TRUE(host.boxes.empty());

    host.files.push_back({true, dir.file("gone.sol"), 1});
    EXPECT_EQ(LoadSolution(log, host), 0);
    ASSERT_EQ(host.boxes.size(), 1u);
    EXPECT_EQ(host.boxes[0].text, "error with loading colution \n No such file or directory ");

    EXPECT_EQ(WriteSolutionFile(log, "x.sol", true, dir.file("missing")), 0);
    EXPECT_EQ(host.boxes.back().text, "error with writing solution \n No such file or directory ");
}

TEST_F(SolutionFileTest, ALoadOpensTheFileAndLogsOnlyToTheFile) {
    dir.write("w.sol", "");
    host.files.push_back({true, dir.file("w.sol"), 1});
    EXPECT_EQ(LoadSolution(log, host), 1);
    EXPECT_TRUE(host.boxes.empty());
    EXPECT_NE(dir.read("listbox.txt").find("reading all values of settings (from file) OK"),
              std::string::npos);
}

}  // namespace
}  // namespace korvex
