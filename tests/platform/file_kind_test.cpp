#include "platform/file_kind.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <map>

namespace korvex {
namespace {

namespace fs = std::filesystem;

// Every sample the readers' own tests load is recognised by its content,
// whatever its extension (.tap, .cnc and .txt are drill files here).
TEST(FileKind, EverySampleIsRecognisedByItsContent) {
    const std::map<std::string, FileKind> byFolderAndExtension = {
        {"vector.plt", FileKind::Hpgl},        {"vector.hpgl", FileKind::Hpgl},
        {"cli.plt", FileKind::Hpgl},           {"gcode.ngc", FileKind::Gcode},
        {"gcode.nc", FileKind::Gcode},         {"drilling.drl", FileKind::Excellon},
        {"drilling.exc", FileKind::Excellon},  {"drilling.cnc", FileKind::Excellon},
        {"drilling.tap", FileKind::Excellon},  {"drilling.txt", FileKind::Excellon},
        {"drilling.vrt", FileKind::DrillList}, {"cli.drl", FileKind::Excellon},
        {"cli.vrt", FileKind::DrillList},      {"machining.bmp", FileKind::Picture},
        {"machining.tif", FileKind::Picture},  {"machining.jpg", FileKind::Picture}};
    int checked = 0;
    for (const auto& entry : fs::recursive_directory_iterator(KORVEX_TEST_DATA)) {
        const fs::path& p = entry.path();
        const auto it =
            byFolderAndExtension.find(p.parent_path().filename().string() + p.extension().string());
        if (it == byFolderAndExtension.end() || p.stem() == "broken") continue;
        EXPECT_EQ(KindOfFile(p.string()), it->second) << p;
        ++checked;
    }
    EXPECT_GT(checked, 60);
}

TEST(FileKind, WhatIsNoneOfThemIsUnknown) {
    EXPECT_EQ(KindOfText(""), FileKind::Unknown);
    EXPECT_EQ(KindOfText("Dear operator,\nthis is a letter.\n"), FileKind::Unknown);
    EXPECT_EQ(KindOfFile("/nonexistent/file.plt"), FileKind::Unknown);
    // A program of modal moves is still a program.
    EXPECT_EQ(KindOfText("%\nG21 G90\nG1 Z-1 F100\nX10Y0\nX10Y10\nX0Y10\nM30\n%\n"),
              FileKind::Gcode);
}

}  // namespace
}  // namespace korvex
