#include "ui/main_menu.h"

#include "log/text.h"
#include "ui/main_ids.h"

namespace korvex {

std::vector<MenuItem> MainMenu(int language) {
    using namespace mainwin;
    auto item = [language](int id, Text text) { return MenuItem{id, Caption(language, text), {}}; };
    auto popup = [language](Text text, std::vector<MenuItem> children) {
        return MenuItem{0, Caption(language, text), std::move(children)};
    };
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
        popup({"Práce", "Works"},
              {item(kMenuSaveSolution, {"Uložit aktuální práci", "Save current solution"}),
               item(kMenuLoadSolution, {"Nahrát práci", "Load saved solution"})}),
        item(kMenuFinish, {"Konec", "Finish"}),
    };
}

}  // namespace korvex
