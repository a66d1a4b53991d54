#include "ui/settings_dialog.h"

#include <algorithm>
#include <charconv>
#include <cstdint>
#include <iterator>

#include "motion/machine.h"
#include "motion/port.h"
#include "motion/step_output.h"
#include "platform/dialog_view.h"
#include "platform/edit_number.h"
#include "platform/host.h"
#include "settings/config_file.h"

namespace korvex {

using namespace setupdlg;

namespace {

// A value `below` limit (or equal to it when `orEqual`) becomes `replacement`.
struct Floor {
    double limit;
    bool orEqual;
    double replacement;
    double apply(double v) const {
        return (v < limit || (orEqual && v == limit)) ? replacement : v;
    }
};

struct RealEdit {
    int id;
    float MachineSettings::*field;
    const char* format;
    Floor floor;
};

constexpr Floor kPositive{0, true, 0.1};
constexpr RealEdit kRealEdits[] = {
    {kStepX, &MachineSettings::mmPerStepX, "%8.5f mm", kPositive},
    {kStepX + 1, &MachineSettings::mmPerStepY, "%8.5f mm", kPositive},
    {kStepX + 2, &MachineSettings::mmPerStepZ, "%8.5f mm", kPositive},
    {kTravelX, &MachineSettings::travelX, "%8.2f mm", {0, false, 0}},
    {kTravelX + 1, &MachineSettings::travelY, "%8.2f mm", {0, false, 0}},
    {kTravelX + 2, &MachineSettings::travelZ, "%8.2f mm", {0, false, 0}},
    {kSpeedX, &MachineSettings::moveSpeedX, "%8.2f mm/s", kPositive},
    {kSpeedX + 1, &MachineSettings::moveSpeedY, "%8.2f mm/s", kPositive},
    {kSpeedX + 2, &MachineSettings::moveSpeedZ, "%8.2f mm/s", kPositive},
    {kCutting, &MachineSettings::cuttingSpeed, "%8.2f mm/s", kPositive},
    {kPlunge, &MachineSettings::plungeSpeed, "%8.2f mm/s", {0.1, false, 0.1}},
    {kCutDepth, &MachineSettings::cutDepth, "%8.2f mm", kPositive},
    {kSafeHeight, &MachineSettings::safeHeight, "%8.2f mm", {0, false, 0.1}},
    {kDwell, &MachineSettings::dwellSeconds, "%8.2f s", kPositive},
    {kSensorDepth, &MachineSettings::sensorDepth, "%8.2f mm", {0, false, 0}},
};

// The acceleration speeds: never at or above their axis' speed of movement.
constexpr float MachineSettings::*kAccel[3] = {
    &MachineSettings::accelSpeedX, &MachineSettings::accelSpeedY, &MachineSettings::accelSpeedZ};
constexpr float MachineSettings::*kSpeed[3] = {
    &MachineSettings::moveSpeedX, &MachineSettings::moveSpeedY, &MachineSettings::moveSpeedZ};
constexpr float MachineSettings::*kStep[3] = {
    &MachineSettings::mmPerStepX, &MachineSettings::mmPerStepY, &MachineSettings::mmPerStepZ};

struct IntEdit {
    int id;
    int MachineSettings::*field;
    const char* format;
    Floor floor;
};

constexpr IntEdit kIntEdits[] = {
    {kRampSteps, &MachineSettings::rampSteps, "%d", {100, false, 100}},
    {kHpglUnits, &MachineSettings::hpglUnitsPerInch, "%8u", {0, false, 0}},
    {kRefresh, &MachineSettings::refreshMs, "%d ms", {0, true, 500}},
    {kCommands, &MachineSettings::commandCapacity, "%d", {1, false, 1}},
    {kPriority, &MachineSettings::executorPriority, "%d", {0, false, 0}},
    {kPulse, &MachineSettings::stepPulseUs, "%d", {0, true, 10}},
    {kDirSetup, &MachineSettings::dirSetupUs, "%d", {0, true, 5}},
};

struct CheckBox {
    int id;
    int MachineSettings::*field;
};

constexpr CheckBox kChecks[] = {
    {kLinearX, &MachineSettings::linearRampX},
    {kLinearX + 1, &MachineSettings::linearRampY},
    {kLinearX + 2, &MachineSettings::linearRampZ},
    {kShowMm, &MachineSettings::showMillimetres},
    {kInvertStep, &MachineSettings::invertStep},
    {kInvertDirX, &MachineSettings::invertDirX},
    {kInvertDirX + 1, &MachineSettings::invertDirY},
    {kInvertDirX + 2, &MachineSettings::invertDirZ},
    {kSoftLimits, &MachineSettings::softLimits},
    {kSwitchMachine, &MachineSettings::switchMachine},
    {kSwitchSpindle, &MachineSettings::switchSpindle},
    {kLaser, &MachineSettings::laserPenMode},
    {kDrawByRefresh, &MachineSettings::drawByRefresh},
    {kOldTimer, &MachineSettings::oldTimer},
};

struct Label {
    int id;
    Text text;
};

constexpr Label kCaptions[] = {
    {kLinearX, {"linear", "linear"}},
    {kLinearX + 1, {"linear", "linear"}},
    {kLinearX + 2, {"linear", "linear"}},
    {kShowMm, {"Zobrazovat pozice v mm", "position in mm"}},
    {kCzech, {"Česky", "Česky"}},
    {kEnglish, {"English", "English"}},
    {kLpt, {"LPT", "LPT"}},
    {kSerial, {"serial COM", "Serial COM"}},
    {kStepDir, {"step/dir", "step/dir"}},
    {kInvertStep, {"INV T(clock)", "INV T(clock)"}},
    {kInvertDirX, {"INV(X)", "INV(X)"}},
    {kInvertDirX + 1, {"INV(Y)", "INV(Y)"}},
    {kInvertDirX + 2, {"INV(Z)", "INV(Z)"}},
    {kSoftLimits, {"kontrolovat meze", "check limits"}},
    {kSwitchMachine, {"Zapínat/vypínat stroj", "Turn On/Off machine"}},
    {kSwitchSpindle, {"Zapínat/vypínat vřeteno", "Turn On/Off spindle head"}},
    {kLaser, {"Laser PuPd", "Laser PuPd"}},
    {kDrawByRefresh, {"kreslit normálně", "draw by refresh"}},
    {kOldTimer, {"Používat staré časování", "Use old timer"}},
    {kTopLeft, {"Levý horní roh", "Left top corner"}},
    {kMiddle, {"Střed", "Middle"}},
    {kPortOk, {"TEST LPT OK", "TEST LPT OK"}},
    {kSave, {"Uložit nastavení", "Apply and save this"}},
    {kFactory, {"Základní nastavení", "Safe option"}},
    {kCancel, {"Storno", "Cancel"}},
    {kTestLpt, {"Test LPT", "Test LPT"}},
    {kPins, {"Nastavení LPT pins", "Setup LPT pins"}},
    {kLoadFile, {"Načíst ze souboru", "Load from file"}},
    {kSaveFile, {"Uložit do souboru", "Save as"}},
};

constexpr size_t kEditChars = 20;

int ReadHex(const std::string& text) {
    const std::string head = text.substr(0, kEditChars);
    size_t i = head.find_first_not_of(" \t");
    if (i == std::string::npos) return 0;
    if (head.compare(i, 2, "0x") == 0 || head.compare(i, 2, "0X") == 0) i += 2;
    unsigned value = 0;
    std::from_chars(head.data() + i, head.data() + head.size(), value, 16);
    return static_cast<int>(value);
}

std::vector<FileFilter> SetupFilter(int language) {
    return {{Caption(language, {"Soubor Dat (*.dat)", "File of setup (*.dat)"}), "*.dat"}};
}

}  // namespace

std::string SettingsDialog::title() const {
    return Caption(m_.settings.language, {"Nastavení", "Setup"});
}

void SettingsDialog::onInit() {
    const int language = m_.settings.language;
    for (const Label& l : kCaptions) view_.setText(l.id, Caption(language, l.text));
    view_.enable(kStepDir, false);
    view_.enable(kMiddle, false);
    view_.enable(kSetupVersion, false);
    fill();
}

void SettingsDialog::fill() {
    const MachineSettings& s = m_.settings;
    for (const RealEdit& e : kRealEdits) view_.setText(e.id, Format(e.format, s.*(e.field)));
    for (int a = 0; a < 3; ++a) view_.setText(kAccelX + a, Format("%8.2f mm/s", s.*(kAccel[a])));
    for (const IntEdit& e : kIntEdits) view_.setText(e.id, Format(e.format, s.*(e.field)));
    view_.setText(kLptAddress, Format("0x%.3X", s.lptAddress));
    view_.setText(kComAddress, Format("0x%.3X", s.comAddress));
    view_.setText(kSetupName, s.setupName);
    view_.setText(kSetupVersion, s.setupVersion);
    for (const CheckBox& c : kChecks) view_.setCheck(c.id, s.*(c.field) != 0);
    view_.setCheck(kCzech, s.language == 0);
    view_.setCheck(kEnglish, s.language == 1);
    view_.setCheck(kLpt, s.useSerial == 0);
    view_.setCheck(kSerial, s.useSerial == 1);
    view_.setCheck(kTopLeft, s.originMiddle == 0);
    view_.setCheck(kMiddle, s.originMiddle == 1);
    view_.setCheck(kStepDir, s.driveMode == 3);
    view_.setCheck(kPortOk, m_.signals.portReady.load() != 0);
    for (int a = 0; a < 3; ++a) view_.enable(kStepX + a, !vectorLoaded_);
    view_.setText(kStepSizesNote,
                  vectorLoaded_
                      ? Caption(s.language, {"Velikost kroku nelze měnit, dokud je načten výkres: "
                                             "jeho rozměry jsou v krocích. Načtěte jej znovu po "
                                             "změně.",
                                             "The step sizes cannot change while a drawing is "
                                             "loaded: its sizes are in steps. Load it again after "
                                             "the change."})
                      : "");
    refreshDerived();
}

void SettingsDialog::refreshFrequency(int id, float value, float step) {
    if (value > 0 && step > 0) view_.setText(id, Format("f=%4.1fHz", value / step));
}

void SettingsDialog::refreshCutting() {
    const MachineSettings& s = m_.settings;
    double best = 0;
    for (float step : {s.mmPerStepX, s.mmPerStepY}) {
        if (step <= 0) continue;
        const double f = s.cuttingSpeed / step;
        if (f != 0 && (best == 0 || f < best)) best = f;
    }
    if (best != 0) view_.setText(kCuttingHz, Format("f=%4.1fHz", best));
}

// Recomputing every derived field on each edit shows what the per-edit
// refreshes would: a field whose inputs did not change gets its own text.
void SettingsDialog::refreshDerived() {
    const MachineSettings& s = m_.settings;
    const int dpiIds[3] = {kDpiX, kDpiY, kDpiZ};
    for (int a = 0; a < 3; ++a) {
        const float step = s.*(kStep[a]);
        if (step > 0 && 25.4 / step < 2147483647.0)
            view_.setText(dpiIds[a], Format("%5d", static_cast<int>(25.4 / step)));
        refreshFrequency(kSpeedHzX + a, s.*(kSpeed[a]), step);
        refreshFrequency(kAccelHzX + a, s.*(kAccel[a]), step);
    }
    refreshCutting();
    refreshFrequency(kPlungeHz, s.plungeSpeed, s.mmPerStepZ);
    view_.setText(kBufferKb,
                  Format("%d kB", static_cast<int>(int64_t{s.commandCapacity} * 48 / 1024)));
}

void SettingsDialog::onEditChange(int id) {
    MachineSettings& s = m_.settings;
    const std::string text = view_.text(id);
    for (const RealEdit& e : kRealEdits) {
        if (e.id != id) continue;
        s.*(e.field) = static_cast<float>(e.floor.apply(ReadEditNumber(text)));
        refreshDerived();
        return;
    }
    for (const IntEdit& e : kIntEdits) {
        if (e.id != id) continue;
        s.*(e.field) = static_cast<int>(e.floor.apply(ReadEditInteger(text)));
        refreshDerived();
        return;
    }
    if (id >= kAccelX && id < kAccelX + 3) {
        const int a = id - kAccelX;
        const float value = static_cast<float>(ReadEditNumber(text));
        const float speed = s.*(kSpeed[a]);
        s.*(kAccel[a]) = value <= speed ? speed + 1.0f : value;
        refreshDerived();
    } else if (id == kLptAddress) {
        s.lptAddress = ReadHex(text);
        testPort();
    } else if (id == kComAddress) {
        s.comAddress = ReadHex(text);
    } else if (id == kSetupName) {
        s.setupName = text.substr(0, kMaxSettingsString);
    }
}

void SettingsDialog::onCommand(int id) {
    MachineSettings& s = m_.settings;
    for (const CheckBox& c : kChecks) {
        if (c.id != id) continue;
        s.*(c.field) = s.*(c.field) ? 0 : 1;
        view_.setCheck(id, s.*(c.field) != 0);
        if (id == kSwitchSpindle && !s.switchSpindle) {
            s.laserPenMode = 0;
            view_.setCheck(kLaser, false);
        } else if (id == kLaser && s.laserPenMode) {
            s.switchSpindle = 1;
            view_.setCheck(kSwitchSpindle, true);
        } else if (id == kInvertStep) {
            // The step line takes its new rest level at once.
            PrepareStepOutput(m_);
            OutputStep(m_, 0, 0, 0, 0, 0, 0);
        }
        return;
    }
    switch (id) {
        case kCzech:
        case kEnglish:
            switchLanguage(id == kCzech ? 0 : 1);
            break;
        case kLpt:
        case kSerial:
            s.useSerial = id == kSerial ? 1 : 0;
            view_.setCheck(kLpt, !s.useSerial);
            view_.setCheck(kSerial, s.useSerial != 0);
            break;
        case kTopLeft:
        case kMiddle:
            s.originMiddle = id == kMiddle ? 1 : 0;
            view_.setCheck(kTopLeft, !s.originMiddle);
            view_.setCheck(kMiddle, s.originMiddle != 0);
            break;
        case kSave:
            save();
            break;
        case kFactory:
            LoadFactoryDefaults(s);
            fill();
            break;
        case kCancel:
            view_.end(kResultCancel);
            break;
        case kTestLpt:
            testPort();
            break;
        case kPins:
            if (openPins_) openPins_();
            break;
        case kLoadFile:
            loadFromFile();
            break;
        case kSaveFile:
            saveToFile();
            break;
        default:
            break;
    }
}

void SettingsDialog::onClose() {
    view_.end(kResultOk);
}

void SettingsDialog::switchLanguage(int language) {
    MachineSettings& s = m_.settings;
    if (s.language == language) return;
    s.language = language;
    view_.setCheck(kCzech, language == 0);
    view_.setCheck(kEnglish, language == 1);
    view_.end(kResultLanguage);
}

// Quiet, unlike the start-up test: the operator sees the check mark.
void SettingsDialog::testPort() {
    constexpr uint8_t kPattern = 170, kControlAllLow = 0x0B;
    if (!m_.port.io || !PortTestAllowed(m_)) return;
    PortIo& io = *m_.port.io;
    const auto data = static_cast<uint16_t>(m_.settings.lptAddress);
    io.out(data, kPattern);
    const bool ok = io.in(data) == kPattern;
    m_.signals.portReady.store(ok ? 1 : 0);
    if (ok) {
        io.out(data, 0);
        io.out(static_cast<uint16_t>(data + 2), kControlAllLow);
        m_.port.control.store(kControlAllLow);
        PrepareStepOutput(m_);
        OutputStep(m_, 0, 0, 0, 0, 0, 0);
    } else {
        m_.timing.planned.store(false);
    }
    view_.setCheck(kPortOk, ok);
}

void SettingsDialog::save() {
    EventLog& log = m_.log;
    if (!SaveSettings(m_.settings, log, kConfigFileName, 1, moduleDir_)) {
        log.say({"program prerusen, zapis souboru nastaveni selhal",
                 "program interupted, write setup failed"},
                true, true);
        view_.end(kResultFailed);
        return;
    }
    if (!LoadSettings(m_.settings, log, kConfigFileName, 1, moduleDir_)) {
        log.say({"program prerusen, nacteni souboru nastaveni selhal",
                 "program interupted, read setup failed"},
                true, true);
        view_.end(kResultFailed);
        return;
    }
    view_.end(kResultOk);
}

void SettingsDialog::loadFromFile() {
    EventLog& log = m_.log;
    const FileChoice f = host_.openFile(SetupFilter(m_.settings.language), 1);
    if (f.chosen && LoadSettings(m_.settings, log, f.path, 0, moduleDir_)) {
        log.say({"nacteni souboru nastaveni OK", "read setup OK"}, true, false);
        fill();
        return;
    }
    log.say({"nacteni souboru nastaveni selhalo", "read setup failed, using default"}, true, true);
}

void SettingsDialog::saveToFile() {
    EventLog& log = m_.log;
    FileChoice f = host_.saveFile(SetupFilter(m_.settings.language), 1);
    if (f.chosen) {
        if (f.path.find(".dat") == std::string::npos) f.path += ".dat";
        if (SaveSettings(m_.settings, log, f.path, 0, moduleDir_)) {
            log.say({"zapsqni souboru nastaveni OK", "write setup OK"}, true, false);
            return;
        }
    }
    log.say({"zapsani souboru nastaveni selhalo", "write setup failed, using default"}, true, true);
}

}  // namespace korvex
