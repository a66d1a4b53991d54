#include "motion/height_map.h"
#include "tests/app/dialog_driver.h"
#include "tests/app/gui_fixture.h"
#include "ui/height_map_dialog.h"
#include "ui/main_ids.h"

namespace korvex {
namespace {

using namespace heightmap_dialog;
using test::ClickControl;
using test::ControlText;
using test::TypeInto;

using HeightMapGui = test::GuiTest;

// From the Tools menu: a 3 x 2 grid typed, probed, saved; the map is in use
// once the dialog closes, and the main window says so.
TEST_F(HeightMapGui, AGridProbedSavedAndFollowed) {
    start();
    setOriginOnMaterial(1);
    const std::string path = dir.file("board.hmap");
    host.files = {path};
    std::string probed;
    test::WhenDialogShown([&](QWidget* dialog) {
        EXPECT_EQ(ControlText(dialog, kState), "no map");
        EXPECT_FALSE(test::Control(dialog, kSave)->isEnabled());
        for (const auto& [id, value] :
             {std::pair{kX1, "10"}, {kY1, "8"}, {kColumns, "3"}, {kRows, "2"}})
            TypeInto(dialog, id, value);
        ClickControl(dialog, kProbe);
        EXPECT_TRUE(QTest::qWaitFor(
            [&] { return ControlText(dialog, kState).rfind("map 3", 0) == 0; }, 30000));
        probed = ControlText(dialog, kState);
        test::SaveScreenshot(dialog, "korvex-height-map.png");
        ClickControl(dialog, kSave);
        ClickControl(dialog, kClose);
    });
    window->logic().onCommand(mainwin::kMenuHeightMap);
    EXPECT_EQ(probed, "map 3 × 2, heights 0.000 to 0.000 mm, jobs follow it");
    HeightMap saved;
    std::string message;
    ASSERT_TRUE(LoadHeightMap(path, saved, 1, message)) << message;
    EXPECT_EQ(saved.columns, 3);
    EXPECT_DOUBLE_EQ(saved.pointX(2), 10);
    ASSERT_TRUE(m().surfaceMap);
    ASSERT_TRUE(waitDrained());
    refreshStatus();
    EXPECT_EQ(text(mainwin::kProgramStopText), "Jobs follow the height map");
}

}  // namespace
}  // namespace korvex
