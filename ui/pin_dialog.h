#pragma once
// "Nastavení LPT (LPT setup)": which data bit drives each step and
// direction output, which status bit each input is read from, and the
// inversions of the extra outputs and inputs. A click changes the setting
// at once; config.dat is written only by the settings dialog's save.
// Window thread, while the executor is idle.

#include <string>

namespace korvex {

struct MachineSettings;
class DialogView;

namespace pindlg {
// Output grid: row i (stepX, dirX, stepY, dirY, stepZ, dirZ, stepS4,
// dirS4), column k (D7 .. D0) is kOutputs + 8i + k. Input grid: row i
// (limit X, Y, Z, Z sensor, emergency), column k (BUSY, ACK, PE, SLCT IN,
// ERR) is kInputs + 5i + k.
inline constexpr int kOutputs = 1033, kInputs = 1097, kLastRadio = 1121;
inline constexpr int kInvertPin1 = 1122, kInvertPin14 = 1123, kInvertPin16 = 1124,
                     kInvertPin17 = 1125, kInvertSwitches = 1007, kInvertEmergency = 1029;
inline constexpr int kOk = 1020, kDefaults = 1021;
}  // namespace pindlg

class PinDialog {
  public:
    explicit PinDialog(MachineSettings& s, DialogView& view) : s_(s), view_(view) {}

    static std::string title() { return "Nastavení LPT (LPT setup)"; }
    // The row captions, top to bottom, of the output and the input grid.
    static const char* outputRowCaption(int row);
    static const char* inputRowCaption(int row);

    void onInit();
    void onCommand(int id);

  private:
    void refresh();

    MachineSettings& s_;
    DialogView& view_;
};

}  // namespace korvex
