#include <QDoubleSpinBox>

#include "app/sim_panel.h"
#include "motion/height_map.h"
#include "tests/app/dialog_driver.h"
#include "tests/app/gui_fixture.h"
#include "ui/height_map_dialog.h"
#include "ui/main_ids.h"

namespace korvex {
namespace {

using namespace heightmap_dialog;
using namespace test;

using HeightMapGui = test::GuiTest;

// A board tilted 5 mm over 100 mm on the simulator panel; from the Tools
// menu: the area of the loaded G-code program's cuts, a 3 x 2 grid typed,
// probed, saved; the map is in use once the dialog closes, and the main
// window says so.
TEST_F(HeightMapGui, AGridProbedSavedAndFollowed) {
    start();
    // Room for the area's margin on the near sides of the travel.
    click(mainwin::kJogXPlus, Qt::ShiftModifier);
    click(mainwin::kJogXPlus + 2, Qt::ShiftModifier);
    setOriginOnMaterial(1);
    auto* tilt = window->simPanel()->findChild<QDoubleSpinBox*>("simTiltX");
    ASSERT_NE(tilt, nullptr);
    tilt->setFocus();
    tilt->selectAll();
    QTest::keyClicks(tilt, "5");
    QTest::keyClick(tilt, Qt::Key_Enter);
    EXPECT_EQ(c->simSurface().tiltX, 5);
    ASSERT_TRUE(c->gcode.load(dir.write("cut.nc", "G0 Z2\nG1 X12 Y7 Z-0.1 F300\nG0 Z2\n")));
    const std::string path = dir.file("board.hmap");
    host.files = {path};
    std::string probed, area;
    test::WhenDialogShown([&](QWidget* dialog) {
        EXPECT_EQ(ControlText(dialog, kState), "no map");
        EXPECT_FALSE(test::Control(dialog, kSave)->isEnabled());
        EXPECT_FALSE(test::Control(dialog, kFromDrawing)->isEnabled()) << "no drawing loaded";
        ClickControl(dialog, kFromGcode);
        for (int id : {kX0, kY0, kX1, kY1}) area += ControlText(dialog, id) + " ";
        TypeInto(dialog, kColumns, "3");
        TypeInto(dialog, kRows, "2");
        ClickControl(dialog, heightmap_dialog::kProbe);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return ControlText(dialog, kState).rfind("map 3", 0) == 0; }, 30000));
        probed = ControlText(dialog, kState);
        test::SaveScreenshot(dialog, "korvex-height-map.png");
        ClickControl(dialog, kSave);
        ClickControl(dialog, kClose);
    });
    window->logic().onCommand(mainwin::kMenuHeightMap);
    EXPECT_EQ(area, "-1 -1 13 8 ") << "the program's cuts and a margin";
    // The tilt's 0.7 mm, to a Z step of 0.1 mm each way.
    EXPECT_TRUE(probed == "map 3 × 2, heights 0.000 to 0.700 mm, jobs follow it" ||
                probed == "map 3 × 2, heights -0.100 to 0.600 mm, jobs follow it")
        << probed;
    HeightMap saved;
    std::string message;
    ASSERT_TRUE(LoadHeightMap(path, saved, 1, message)) << message;
    EXPECT_EQ(saved.columns, 3);
    EXPECT_DOUBLE_EQ(saved.pointX(2), 13);
    EXPECT_NEAR(saved.at(2, 1) - saved.at(0, 1), 14 * 0.05, 0.1) << "the tilt over 14 mm";
    ASSERT_TRUE(m().surfaceMap);
    ASSERT_TRUE(waitDrained());
    refreshStatus();
    EXPECT_EQ(text(mainwin::kProgramStopText), "Jobs follow the height map");
}

}  // namespace
}  // namespace korvex
