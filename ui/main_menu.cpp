#include "ui/main_menu.h"

#include "log/text.h"
#include "ui/main_ids.h"

namespace korvex {

std::vector<MenuItem> MainMenu(int language, const std::vector<std::string>& recent) {
    using namespace mainwin;
    auto item = [language](int id, Text text) { return MenuItem{id, Caption(language, text), {}}; };
    auto popup = [language](Text text, std::vector<MenuItem> children) {
        return MenuItem{0, Caption(language, text), std::move(children)};
    };
    std::vector<MenuItem> works = {
        item(kMenuOpen, {"Otevřít soubor…\tCtrl+O", "Open…\tCtrl+O"}),
        item(kMenuSaveSolution, {"Uložit aktuální práci", "Save current solution"}),
        item(kMenuLoadSolution, {"Nahrát práci", "Load saved solution"})};
    if (!recent.empty()) {
        MenuItem last = popup({"Naposledy otevřené", "Open recent"}, {});
        for (size_t i = 0; i < recent.size(); ++i)
            last.children.push_back({kMenuRecent + static_cast<int>(i), recent[i], {}});
        works.insert(works.begin() + 1, std::move(last));
    }
    return {
        item(kMenuAbout, {"O programu", "About"}),
        popup({"Pozice", "Position"},
              {item(kMenuResetRel, {"Vynulovat relativní", "Null relative position"}),
               item(kMenuResetAbs, {"Vynulovat absolutní", "Null absolute position"}),
               item(kMenuSetRel, {"Nastavit relativní polohu", "Set relative position"}),
               item(kMenuOverMaterial, {"Najet nad materiál", "Go over material"}),
               item(kMenuCalibration, {"Kalibrace nulového bodu", "Calibration of null point"}),
               item(kMenuGotoRel, {"Najetí na relativní počátek", "Go to on relative position"})}),
        popup({"Nástroje", "Tools"},
              {item(kMenuHpgl, {"Nastav a frézuj HPGL", "Set and cut HPGL code"}),
               item(kMenuRaster, {"Nastavení RASTRu", "Set BITMAP data"}),
               item(kMenuGcode, {"Nastavení G-kódu", "Set and cut G-code"}),
               item(kMenuHeightMap, {"Výšková mapa", "Height map"}), MenuItem{},
               popup({"Základní operace", "Basic operations"},
                     {item(kMenuSeparate, {"Oddělit materiál", "Separate material"}),
                      item(kMenuSurface, {"Přerovnat výšku materiálu", "Back planing"})}),
               item(kMenuDrill, {"Vrtání otvorů", "Drill holes"}),
               item(kMenuTimerTest, {"Test časovače", "Test of counter"})}),
        item(kMenuSetup, {"Nastavení stroje", "Setup machine"}),
        popup({"Práce", "Works"}, std::move(works)),
        item(kMenuFinish, {"Konec", "Finish"}),
    };
}

}  // namespace korvex
