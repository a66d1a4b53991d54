#include "log/event_log.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cerrno>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <set>
#include <sstream>
#include <thread>

#include "platform/headless.h"
#include "tests/testkit/temp_dir.h"

namespace korvex {
namespace {

struct EventLogTest : ::testing::Test {
    test::TempDir dir;
    EventLog log;
    ScriptedHost host;
    std::vector<std::string> list;
    int language = 1;
    EventLogTest() {
        dir.write("listbox.txt", "old run\n");
        log.start(dir.path());
        log.setHost(&host);
        log.setLanguage(&language);
        log.setListSink([this](const std::string& l) { list.push_back(l); });
    }
};

TEST_F(EventLogTest, NumbersLinesAndRoutesThemByKind) {
    log.line(dir.path(), false, false);
    log.line("state changed", true, false);
    log.line("failure", true, true);
    log.line("warning only", false, true);
    EXPECT_EQ(
        dir.read("listbox.txt"),
        "   1, " + dir.path() + " \n   2, state changed \n   3, failure \n   4, warning only \n");
    EXPECT_EQ(list, (std::vector<std::string>{"state changed", "failure"}));
    ASSERT_EQ(host.boxes.size(), 2u);
    EXPECT_EQ(host.boxes[0].title, "Problém/Error");
    EXPECT_EQ(host.boxes[1].text, "warning only");
    EXPECT_EQ(host.boxes[1].buttons, Buttons::Ok);
}

TEST_F(EventLogTest, PicksTheLanguageWhenTheLineIsMade) {
    log.say(Text{"ahoj", "hello"}, true, false);
    language = 0;
    log.say(Text{"ahoj", "hello"}, true, false);
    language = 5;
    log.say(Text{"ahoj", "hello"}, true, false);
    EXPECT_EQ(list, (std::vector<std::string>{"hello", "ahoj"}));
    EXPECT_EQ(log.lineCount(), 2);
}

TEST_F(EventLogTest, DeletedFileIsRecreatedWideNumbersWidenAndANamedFileTakesItsPlace) {
    log.line("a", false, false);
    std::remove(dir.file("listbox.txt").c_str());
    log.line("b", false, false);
    EXPECT_EQ(dir.read("listbox.txt"), "   2, b \n");
    for (int i = 3; i <= 10000; ++i) log.line("", false, false);
    log.line("wide", false, false);
    const std::string text = dir.read("listbox.txt");
    EXPECT_EQ(text.substr(text.size() - 13), "10001, wide \n");
    // A named file takes the place of listbox.txt, numbered from 1.
    log.startFile(dir.file("job.log"));
    log.line("after", false, false);
    EXPECT_EQ(dir.read("job.log"), "   1, after \n");
    EXPECT_EQ(dir.read("listbox.txt"), text);
}

TEST_F(EventLogTest, WithoutHostBoxesGoToTheList) {
    log.setHost(nullptr);
    log.line("box only", false, true);
    EXPECT_EQ(list, std::vector<std::string>{"box only"});
}

TEST_F(EventLogTest, SystemErrorAppendsTheSystemsTextAndClearsIt) {
    errno = ENOENT;
    log.systemError("open");
    ASSERT_EQ(list.size(), 1u);
    EXPECT_EQ(list[0], "open - No such file or directory");
    EXPECT_EQ(errno, 0);
}

TEST_F(EventLogTest, TwoThreadsGetUniqueNumbersInFileOrderAndWholeListLines) {
    auto writer = [this](const char* who) {
        for (int i = 0; i < 300; ++i) log.line(who, i % 2, false);
    };
    std::thread a(writer, "a"), b(writer, "b");
    a.join();
    b.join();
    std::istringstream in(dir.read("listbox.txt"));
    std::string line;
    int expected = 1;
    while (std::getline(in, line)) EXPECT_EQ(std::stoi(line), expected++);
    EXPECT_EQ(expected, 601);
    EXPECT_EQ(list.size(), 300u);
}

// A window shows a box asked for by another thread only when its own thread
// gets to it: a box the window thread asks for meanwhile must not wait for
// the other one to close.
class CrossThreadHost final : public DesktopFreeHost {
  public:
    Answer messageBox(const std::string&, const std::string&, Buttons, Icon) override {
        std::unique_lock lock(mutex_);
        ++open_;
        opened_.notify_all();
        if (!opened_.wait_for(lock, std::chrono::seconds(2), [this] { return open_ == 2; }))
            stuck = true;
        return Answer::Ok;
    }
    std::atomic<bool> stuck = false;

  private:
    std::mutex mutex_;
    std::condition_variable opened_;
    int open_ = 0;
};

TEST_F(EventLogTest, BoxesFromTwoThreadsDoNotWaitForEachOther) {
    CrossThreadHost crossing;
    log.setHost(&crossing);
    std::thread executor([this] { log.line("from the executor", false, true); });
    log.line("from the window", false, true);
    executor.join();
    EXPECT_FALSE(crossing.stuck);
}

}  // namespace
}  // namespace korvex
