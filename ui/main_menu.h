#pragma once
// The main window's menu: 101 in Czech, 102 in English.

#include <string>
#include <vector>

#include "ui/window_view.h"

namespace korvex {

// `recent`: the files of "Open recent", newest first.
std::vector<MenuItem> MainMenu(int language, const std::vector<std::string>& recent = {});

}  // namespace korvex
