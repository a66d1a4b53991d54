#pragma once
// "Nastavení stroje / Setup machine": every control edits one settings
// field in memory as the operator types or clicks; "Uložit nastavení"
// writes config.dat. Opened only while the executor is idle, and modal, so
// nothing reaches the executor before the dialog ends; the settings command
// applies the result afterwards. Window thread.

#include <functional>
#include <string>

namespace korvex {

struct Machine;
class DialogView;
class Host;

namespace setupdlg {
// The results the settings command reads (besides 1 and 2).
inline constexpr int kResultFailed = 3, kResultLanguage = 6;
inline constexpr int kStepX = 1016, kTravelX = 1013, kSpeedX = 1081, kAccelX = 1087,
                     kLinearX = 1004, kRampSteps = 1024, kCutting = 1008, kPlunge = 1009,
                     kCutDepth = 1010, kSafeHeight = 1011, kDwell = 1012, kSensorDepth = 1047,
                     kShowMm = 1022, kHpglUnits = 1050, kCzech = 1037, kEnglish = 1038, kLpt = 1055,
                     kSerial = 1056, kLptAddress = 1057, kComAddress = 1058, kStepDir = 1052,
                     kRefresh = 1053, kCommands = 1059, kPriority = 1075, kPulse = 1074,
                     kDirSetup = 1076, kInvertStep = 1000, kInvertDirX = 1061, kSoftLimits = 1003,
                     kSwitchMachine = 1001, kSwitchSpindle = 1002, kLaser = 1032,
                     kDrawByRefresh = 1027, kOldTimer = 1028, kTopLeft = 1025, kMiddle = 1026,
                     kSetupName = 1093, kSetupVersion = 1094, kPortOk = 1007;
// Why the step sizes cannot be changed, empty while they can.
inline constexpr int kStepSizesNote = 1200;
// Derived fields.
inline constexpr int kDpiX = 1048, kDpiY = 1049, kDpiZ = 1051, kCuttingHz = 1080, kPlungeHz = 1079,
                     kSpeedHzX = 1084, kAccelHzX = 1090, kBufferKb = 1044;
// Buttons.
inline constexpr int kSave = 1019, kFactory = 1020, kCancel = 1021, kTestLpt = 1029, kPins = 1023,
                     kLoadFile = 1030, kSaveFile = 1031;
}  // namespace setupdlg

class SettingsDialog {
  public:
    // `openPins` shows the pin dialog modally (the front end's window);
    // the step sizes are locked while a vector model is loaded.
    SettingsDialog(Machine& m, DialogView& view, Host& host, std::string moduleDir,
                   bool vectorLoaded, std::function<void()> openPins = {})
        : m_(m),
          view_(view),
          host_(host),
          moduleDir_(std::move(moduleDir)),
          vectorLoaded_(vectorLoaded),
          openPins_(std::move(openPins)) {}

    // The window's caption in the language in force ("Nastavení" / "Setup").
    std::string title() const;
    void onInit();
    void onCommand(int id);
    // A text edit changed (every keystroke).
    void onEditChange(int id);
    // The window's close message: ends with 1, keeping the edits.
    void onClose();

  private:
    void fill();
    void refreshDerived();
    void refreshFrequency(int id, float value, float step);
    void refreshCutting();
    void testPort();
    void save();
    void switchLanguage(int language);
    void loadFromFile();
    void saveToFile();

    Machine& m_;
    DialogView& view_;
    Host& host_;
    const std::string moduleDir_;
    const bool vectorLoaded_;
    std::function<void()> openPins_;
};

}  // namespace korvex
