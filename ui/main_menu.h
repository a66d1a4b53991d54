#pragma once
// The main window's menu: 101 in Czech, 102 in English.

#include <vector>

#include "ui/window_view.h"

namespace korvex {

std::vector<MenuItem> MainMenu(int language);

}  // namespace korvex
