#pragma once
// The "3D modelling" dialog: turns the gray picture into a relief. The
// operator sets depth, pitch, feed, a Z offset and a size multiple, sees the
// resulting size and resolution, may invert the picture, simulate the relief
// as an oblique view, and starts the cut.
//
// A run keeps the window's events flowing but takes no other command until
// it ends: the dialog's own emergency stop is the one control left, as the
// main window's is out of reach behind this modal dialog. It halts a
// carving between two steps; the second press goes on from that step.

#include <string>

#include "machining/relief_carve.h"
#include "machining/relief_controls.h"

namespace korvex {

class ReliefDialog {
  public:
    ReliefDialog(ReliefContext& context, DialogView& view, Host& host)
        : c_(context), view_(view), host_(host) {}

    std::string title() const;
    void onInit();
    void onCommand(int id);
    void onEditChange(int id);
    void onScroll(int id, int request, int pos);
    void onPaint();

    // 1 when the last "OK, Go" or "Simulace (simulation)" ran to its end, 0
    // when it was refused or cancelled.
    int lastRun() const { return lastRun_; }

  private:
    void refresh();
    void fillEdit(int id, const std::string& text);
    void changeMultiple(int by);
    void toggleZMultiple();
    void updateZMultiple();
    void writeLevels();
    void writeSize();
    void drawView();
    bool confirm(Text question);
    bool refused();
    void go();
    void simulate();
    void emergencyStop();
    // Disables every control but the emergency stop while a run goes on.
    void setRunning(bool running);
    int language() const;

    ReliefContext& c_;
    DialogView& view_;
    Host& host_;
    int lastRun_ = 0;
    bool running_ = false;
};

inline constexpr Text kReliefBusyQuestion{"Není možné měnit nastavení stroje v chodu !",
                                          "It's not possibe change setup if the machine work !"};
inline constexpr Text kReliefGoQuestion{
    "Hodláte frézovat BMP soubor, program bude zaneprázdněn až do dokončení frézování. Pokud "
    "nastanou neočekávané problémy musíte přerušit frézování manuálně. Chcete začít frézovat ?",
    "Are you going to cut BMP file, the program will be busy until the completion of milling. If "
    "unexpected problems occur you must manually interrupt routing. To begin to cut?"};
inline constexpr Text kReliefSimulateQuestion{
    "Hodláte simulovat BMP soubor, program bude zaneprázdněn až do dokončení frézování. Pokud "
    "nastanou neočekávané problémy musíte přerušit frézování manuálně. Chcete začít frézovat ?",
    "Are you going to simulate the cut BMP file, the program will be busy until the completion of "
    "milling. If unexpected problems occur you must manually interrupt routing. To begin to cut?"};
inline constexpr Text kReliefNoPicture{"Není načten použitelný obrázek, reliéf nelze frézovat",
                                       "No usable picture is loaded, there is no relief to cut"};

}  // namespace korvex
