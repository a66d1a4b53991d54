#include <gtest/gtest.h>

#include <QCheckBox>
#include <QLineEdit>
#include <QRadioButton>
#include <QTest>

#include "app/qt_window_view.h"

namespace korvex {
namespace {

// A form with an edit (1), a check box (2) and two radios (3, 4).
struct BinderTest : ::testing::Test {
    QWidget window;
    QLineEdit* edit = new QLineEdit(&window);
    QCheckBox* box = new QCheckBox(&window);
    QRadioButton* radioA = new QRadioButton(&window);
    QRadioButton* radioB = new QRadioButton(&window);
    std::unique_ptr<QtWindowView> view;
    std::vector<int> commands, edits;
    int paints = 0;

    BinderTest() {
        int id = 1;
        for (QWidget* w : std::initializer_list<QWidget*>{edit, box, radioA, radioB})
            w->setProperty("ctrlId", id++);
        radioB->move(0, 40);
        view = std::make_unique<QtWindowView>(&window, &window);
        DialogHandlers handlers;
        handlers.command = [this](int i) { commands.push_back(i); };
        handlers.editChange = [this](int i) { edits.push_back(i); };
        handlers.paint = [this] {
            ++paints;
            view->invalidate();
        };
        view->bind(handlers);
        window.show();
    }
};

TEST_F(BinderTest, OnlyTheUsersEditsReachTheLogic) {
    view->setText(1, "12.5");
    EXPECT_TRUE(edits.empty());
    QTest::keyClicks(edit, "3");
    EXPECT_EQ(edits, std::vector<int>{1});
    EXPECT_EQ(view->text(1), "12.53");
}

TEST_F(BinderTest, TheLogicOwnsCheckedStates) {
    QTest::mouseClick(box, Qt::LeftButton);
    EXPECT_EQ(commands, std::vector<int>{2});
    EXPECT_FALSE(box->isChecked());  // until the logic checks it
    view->setCheck(2, true);
    EXPECT_TRUE(view->isChecked(2));
    view->setCheck(3, true);
    view->setCheck(4, true);
    EXPECT_TRUE(radioA->isChecked());  // radios are not exclusive by themselves
    view->setCheck(3, false);
    view->setCheck(4, false);
    EXPECT_FALSE(radioA->isChecked() || radioB->isChecked());
}

TEST_F(BinderTest, AnInvalidateWhilePaintingIsIgnored) {
    view->invalidate();
    QTest::qWait(50);
    EXPECT_EQ(paints, 1);
}

}  // namespace
}  // namespace korvex
