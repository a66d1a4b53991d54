#include <QGroupBox>
#include <QLabel>
#include <QRegularExpression>
#include <QTabBar>

#include "gcode/gcode_dialog.h"
#include "machining/relief_controls.h"
#include "machining/separation_dialog.h"
#include "machining/surface_dialog.h"
#include "tests/app/dialog_driver.h"
#include "tests/app/gui_fixture.h"
#include "ui/height_map_dialog.h"
#include "ui/main_ids.h"
#include "ui/pin_dialog.h"
#include "ui/settings_dialog.h"
#include "ui/timer_test_dialog.h"
#include "vector/hpgl_job_dialog.h"

namespace korvex {
namespace {

using namespace mainwin;

// Czech shows in its diacritics.
bool HasCzech(const QString& text) {
    static const QRegularExpression czech("[áčďéěíňóřšťúůýžÁČĎÉĚÍŇÓŘŠŤÚŮÝŽ]");
    return text.contains(czech);
}

// A caption with a part free of them ("vrták / drill", "špona\n cut") is one
// of the program's bilingual ones; the language switch names Czech in Czech.
bool CzechOnly(const QString& text) {
    static const QRegularExpression parts("[/,(\\n]| - ");
    static const QRegularExpression word("[A-Za-z]{2}");
    if (!HasCzech(text) || text == "Česky") return false;
    for (const QString& part : text.split(parts))
        if (!HasCzech(part) && part.contains(word)) return false;
    return true;
}

// The window's title and the visible captions of its labels, buttons,
// groups and tabs that are in Czech alone.
void CollectCzech(QWidget* window, std::vector<std::string>& found) {
    const std::string where = window->objectName().toStdString() + ": ";
    auto check = [&](const QString& text) {
        if (CzechOnly(text)) found.push_back(where + text.toStdString());
    };
    check(window->windowTitle());
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisibleTo(window)) continue;
        if (auto* label = qobject_cast<QLabel*>(w)) check(label->text());
        if (auto* button = qobject_cast<QAbstractButton*>(w)) check(button->text());
        if (auto* group = qobject_cast<QGroupBox*>(w)) check(group->title());
        if (auto* tabs = qobject_cast<QTabBar*>(w))
            for (int i = 0; i < tabs->count(); ++i) check(tabs->tabText(i));
    }
}

// A person in an English locale starts without config.dat and takes the
// English offered: every box from the first on, the main window and every
// dialog it opens speak English (captions may speak both), none Czech alone.
TEST(EnglishSessionGui, NoBoxWindowOrDialogShowsCzechAlone) {
    test::TempDir dir;
    test::ScriptedQtHost host;  // Yes to the language question
    Controller c(dir.path(), RigOptions{"sim", true});
    c.country = "USA";
    KorvexWindow window(c, host);
    window.show();
    window.start();
    ASSERT_EQ(c.machine.settings.language, 1);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    std::vector<std::string> czech;
    CollectCzech(&window, czech);

    host.files = {dir.write("square.plt", "IN;SP1;PU0,0;PD400,0;PD400,400;PU0,0;")};
    window.logic().onCommand(kMenuOpen);
    struct Opening {
        int command;
        int close;
        int inner = 0, innerClose = 0;  // a dialog this one opens
    };
    const Opening openings[] = {
        {kMenuSetup, setupdlg::kCancel, setupdlg::kPins, pindlg::kOk},
        {kMenuTimerTest, timertest::kOk},
        {kMenuCalibration, nullpos::kClose},
        {kMenuHpgl, hpgl_job::kCancel},
        {kMenuDrill, kResultCancel},
        {kMenuSurface, kSurfaceCancel},
        {kMenuSeparate, kSeparationCancel},
        {kMenuRaster, kReliefEnd},
        {kMenuGcode, gcode_dialog::kClose},
        {kMenuHeightMap, heightmap_dialog::kClose},
    };
    host.files = {KORVEX_TEST_DATA "/machining/rgb24.bmp"};  // the relief's picture
    int opened = 0;
    for (const Opening& o : openings) {
        host.answers = {Answer::No};  // the HPGL command's "read another?"
        test::WhenDialogShown([&](QWidget* dialog) {
            ++opened;
            CollectCzech(dialog, czech);
            if (o.inner) {
                test::WhenDialogShown([&](QWidget* inner) {
                    ++opened;
                    CollectCzech(inner, czech);
                    test::ClickControl(inner, o.innerClose);
                });
                test::ClickControl(dialog, o.inner);
            }
            test::ClickControl(dialog, o.close);
        });
        window.logic().onCommand(o.command);
        ASSERT_EQ(QApplication::activeModalWidget(), nullptr) << o.command;
    }
    EXPECT_EQ(opened, 11);
    for (const std::string& text : host.texts)
        if (HasCzech(QString::fromStdString(text))) czech.push_back("box: " + text);
    EXPECT_EQ(czech, std::vector<std::string>{});
}

}  // namespace
}  // namespace korvex
