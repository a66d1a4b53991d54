#include "settings/file_places.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

#include "tests/testkit/temp_dir.h"

namespace korvex {
namespace {

struct FilePlacesTest : ::testing::Test {
    test::TempDir dir;
    std::map<std::string, std::string> vars{{"HOME", "/home/ana"}};
    EnvLookup env = [this](const char* name) -> const char* {
        auto it = vars.find(name);
        return it == vars.end() ? nullptr : it->second.c_str();
    };
};

TEST_F(FilePlacesTest, AWritableProgramFolderKeepsEverythingBesideTheProgram) {
    const FilePlaces places = ChooseFilePlaces(dir.path(), "", env);
    EXPECT_EQ(places.kind, PlaceKind::ProgramFolder);
    EXPECT_EQ(places.configDir, dir.path());
    EXPECT_EQ(places.logDir, dir.path());
    EXPECT_EQ(DescribeFilePlaces(places, 1), dir.path() + " (program folder)");
}

TEST_F(FilePlacesTest, TheInstalledOrAnUnwritableFolderGivesTheUserFolders) {
    for (const std::string& programDir :
         {std::string(KORVEX_INSTALL_BINDIR), dir.file("missing")}) {
        const FilePlaces places = ChooseFilePlaces(programDir, "", env);
        EXPECT_EQ(places.kind, PlaceKind::UserFolders) << programDir;
        EXPECT_EQ(places.configDir, "/home/ana/.config/korvex");
        EXPECT_EQ(places.logDir, "/home/ana/.local/state/korvex");
    }
    vars["XDG_CONFIG_HOME"] = "/xdg/config";
    vars["XDG_STATE_HOME"] = "/xdg/state";
    FilePlaces places = ChooseFilePlaces(dir.file("missing"), "", env);
    EXPECT_EQ(places.configDir, "/xdg/config/korvex");
    EXPECT_EQ(places.logDir, "/xdg/state/korvex");
    EXPECT_EQ(DescribeFilePlaces(places, 0),
              "/xdg/config/korvex (složky uživatele, záznam v /xdg/state/korvex)");
    // Relative and empty values are ignored, as the base-directory rules say.
    vars["XDG_CONFIG_HOME"] = "relative";
    vars["XDG_STATE_HOME"] = "";
    places = ChooseFilePlaces(dir.file("missing"), "", env);
    EXPECT_EQ(places.configDir, "/home/ana/.config/korvex");
    EXPECT_EQ(places.logDir, "/home/ana/.local/state/korvex");
}

TEST_F(FilePlacesTest, AChosenFolderWinsAndIsCreatedWithItsParents) {
    const FilePlaces places = ChooseFilePlaces(dir.path(), dir.file("a/b"), env);
    EXPECT_EQ(places.kind, PlaceKind::Chosen);
    EXPECT_EQ(places.logDir, dir.file("a/b"));
    std::string error;
    ASSERT_TRUE(CreateFilePlaces(places, error));
    EXPECT_TRUE(std::filesystem::is_directory(dir.file("a/b")));
    EXPECT_TRUE(CreateFilePlaces(places, error));  // a second start finds them
    dir.write("file", "");
    EXPECT_FALSE(CreateFilePlaces(ChooseFilePlaces("", dir.file("file/sub"), env), error));
    EXPECT_EQ(error.rfind(dir.file("file/sub") + ": ", 0), 0u);
}

}  // namespace
}  // namespace korvex
