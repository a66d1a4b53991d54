#pragma once
// The settings record: the machine's mechanics, the cutting defaults, the
// port and its pins, the pulse timing and the program's preferences.
//
// Lengths are millimetres, speeds millimetres per second. Changed only on the
// window's thread while the executor is idle; the executor reads it freely.

#include <string>

namespace korvex {

struct MachineSettings {
    int language = 0;  // 0 Czech, 1 English
    float mmPerStepX = 0, mmPerStepY = 0, mmPerStepZ = 0;
    float cuttingSpeed = 0;
    float plungeSpeed = 0;
    float moveSpeedX = 0, moveSpeedY = 0, moveSpeedZ = 0;
    float accelSpeedX = 0, accelSpeedY = 0, accelSpeedZ = 0;
    float cutDepth = 0;
    float safeHeight = 0;
    float dwellSeconds = 0;
    float travelX = 0, travelY = 0, travelZ = 0;
    float sensorDepth = 0;
    int showMillimetres = 0;
    int spareFlag = 0;
    int originMiddle = 0;
    int hpglUnitsPerInch = 0;
    int useSerial = 0;
    int lptAddress = 0;
    int comAddress = 0;
    int driveMode = 0;
    int refreshMs = 0;
    int spareInt = 0;
    int linearRampX = 0, linearRampY = 0, linearRampZ = 0;
    int commandCapacity = 0;
    int switchMachine = 0;
    int switchSpindle = 0;
    int stepPulseUs = 0;
    int dirSetupUs = 0;
    int invertStep = 0;
    int executorPriority = 0;
    int invertDirX = 0, invertDirY = 0, invertDirZ = 0;
    int softLimits = 0;
    int rampSteps = 0;
    int drawByRefresh = 0;
    int oldTimer = 0;
    int invertPin1 = 0, invertPin14 = 0, invertPin16 = 0, invertPin17 = 0;
    int invertSwitches = 0;
    int invertEmergency = 0;
    int pinStepX = 0, pinDirX = 0, pinStepY = 0, pinDirY = 0;
    int pinStepZ = 0, pinDirZ = 0, pinStepS4 = 0, pinDirS4 = 0;
    int pinLimitX = 0, pinLimitY = 0, pinLimitZ = 0, pinZSensor = 0, pinEmergency = 0;
    std::string setupName;     // at most kMaxSettingsString bytes
    std::string setupVersion;  // at most kMaxSettingsString bytes
    int laserPenMode = 0;

    bool operator==(const MachineSettings&) const = default;
};

// The string fields' buffers hold 259 characters plus the terminator.
inline constexpr size_t kMaxSettingsString = 259;

// Every field to its factory default; `language` keeps 0 and 1 and becomes 0
// for any other value.
void LoadFactoryDefaults(MachineSettings& s);

// The pin masks, the control-output inversions, `invertSwitches` and
// `drawByRefresh` to their defaults (`invertEmergency` is left alone).
void DefaultPinAssignment(MachineSettings& s);

// A fresh record at factory defaults (Czech).
MachineSettings FactorySettings();

}  // namespace korvex
