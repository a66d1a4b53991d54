#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QFileInfo>
#include <QListWidget>
#include <QTest>
#include <atomic>
#include <thread>

#include "app/qt_window_view.h"
#include "tests/app/dialog_driver.h"
#include "tests/app/gui_fixture.h"
#include "tests/testkit/temp_dir.h"

namespace korvex {
namespace {

TEST(QtHostThreads, ABoxFromAnotherThreadIsShownOnTheWindowThreadAndAnswered) {
    test::ScriptedQtHost host;
    host.answers = {Answer::No};
    std::atomic<bool> done{false};
    Answer answer = Answer::Ok;
    std::thread asker([&] {
        answer = host.messageBox("?", "from the executor", Buttons::YesNo, Icon::Question);
        done = true;
    });
    // The asker waits until the window's thread runs its events.
    EXPECT_TRUE(QTest::qWaitFor([&] { return done.load(); }, 5000));
    asker.join();
    EXPECT_EQ(answer, Answer::No);
    ASSERT_EQ(host.texts.size(), 1u);
    EXPECT_EQ(host.texts[0], "from the executor");
}

TEST(QtHostThreads, ClosingAnswersWaitingAndLaterBoxesAtOnce) {
    test::ScriptedQtHost host;
    Answer waiting = Answer::Yes, later = Answer::Yes;
    // The window's thread never runs its events here: only closeBoxes()
    // can release the asker, as at shutdown while joining the executor.
    std::thread asker(
        [&] { waiting = host.messageBox("?", "pending", Buttons::YesNo, Icon::Question); });
    std::this_thread::sleep_for(std::chrono::milliseconds(50));
    host.closeBoxes();
    asker.join();
    std::thread afterwards(
        [&] { later = host.messageBox("?", "late", Buttons::OkCancel, Icon::Question); });
    afterwards.join();
    EXPECT_EQ(waiting, Answer::No);
    EXPECT_EQ(later, Answer::Cancel);
    QCoreApplication::processEvents();
    EXPECT_TRUE(host.texts.empty());
}

// The real box: each of its buttons answers for itself, and a box closed
// without a button answers as the shutdown does.
TEST(QtHostBoxes, EveryButtonOfEveryKindAnswersItself) {
    QtHost host;
    using B = QMessageBox;
    const struct {
        Buttons buttons;
        B::StandardButton click;
        Answer answer;
    } cases[] = {{Buttons::Ok, B::Ok, Answer::Ok},
                 {Buttons::OkCancel, B::Ok, Answer::Ok},
                 {Buttons::OkCancel, B::Cancel, Answer::Cancel},
                 {Buttons::YesNo, B::Yes, Answer::Yes},
                 {Buttons::YesNo, B::No, Answer::No},
                 {Buttons::YesNoCancel, B::Yes, Answer::Yes},
                 {Buttons::YesNoCancel, B::No, Answer::No},
                 {Buttons::YesNoCancel, B::Cancel, Answer::Cancel}};
    for (const auto& c : cases) {
        test::ClickOnNextBox(c.click);
        EXPECT_EQ(host.messageBox("?", "which", c.buttons, Icon::Question), c.answer)
            << static_cast<int>(c.buttons) << " " << c.click;
    }
}

// The Open of one file starts where the last one was chosen, whichever
// dialog chose it.
TEST(QtHostFiles, ADialogOpensInTheFolderOfTheLastFileChosen) {
    test::TempDir first, second;
    const std::string chosen = second.write("board.nc", "G0 X1\n");
    QtHost host;
    host.startIn(first.path());
    auto folderShown = std::make_shared<std::vector<QString>>();
    auto choose = [&](bool pick) {
        test::WhenDialogShown([folderShown, pick, chosen](QWidget* w) {
            auto* dialog = qobject_cast<QFileDialog*>(w);
            ASSERT_NE(dialog, nullptr);
            folderShown->push_back(dialog->directory().absolutePath());
            if (!pick) return dialog->reject();
            dialog->selectFile(QString::fromStdString(chosen));
            static_cast<QDialog*>(dialog)->accept();  // as its Open button does
        });
        return host.openFile({{"G-code", "*.nc"}}, 1);
    };
    EXPECT_EQ(choose(true).path, chosen);
    EXPECT_FALSE(choose(false).chosen);
    const QString folders[] = {QString::fromStdString(first.path()),
                               QFileInfo(QString::fromStdString(chosen)).absolutePath()};
    EXPECT_EQ(*folderShown, std::vector<QString>(std::begin(folders), std::end(folders)));
}

TEST(QtWindowViewThreads, ListLinesFromAnotherThreadAreQueuedInOrder) {
    QWidget window;
    auto* list = new QListWidget(&window);
    list->setProperty("ctrlId", 1064);
    QtWindowView view(&window, &window);
    std::thread writer([&] {
        for (int i = 0; i < 100; ++i) view.addListLine(1064, std::to_string(i));
    });
    writer.join();
    EXPECT_EQ(list->count(), 0);  // nothing touched the widget from the other thread
    EXPECT_TRUE(QTest::qWaitFor([&] { return list->count() == 100; }, 2000));
    EXPECT_EQ(list->item(99)->text(), "99");
}

}  // namespace
}  // namespace korvex
