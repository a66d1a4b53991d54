#include "settings/machine_settings.h"

namespace korvex {

void DefaultPinAssignment(MachineSettings& s) {
    s.invertSwitches = 1;
    s.invertPin1 = s.invertPin14 = s.invertPin16 = s.invertPin17 = 0;
    s.drawByRefresh = 1;
    s.pinStepX = 1;
    s.pinDirX = 2;
    s.pinStepY = 4;
    s.pinDirY = 8;
    s.pinStepZ = 16;
    s.pinDirZ = 32;
    s.pinStepS4 = 64;
    s.pinDirS4 = 128;
    s.pinLimitX = 32;
    s.pinLimitY = 16;
    s.pinLimitZ = 8;
    s.pinZSensor = 64;
    s.pinEmergency = 128;
}

void LoadFactoryDefaults(MachineSettings& s) {
    int language = (s.language == 0 || s.language == 1) ? s.language : 0;
    s = MachineSettings{};
    s.language = language;
    s.mmPerStepX = s.mmPerStepY = s.mmPerStepZ = 0.1f;
    s.cuttingSpeed = 1.0f;
    s.plungeSpeed = 1.0f;
    s.moveSpeedX = s.moveSpeedY = s.moveSpeedZ = 5.0f;
    s.accelSpeedX = s.accelSpeedY = s.accelSpeedZ = 10.0f;
    s.cutDepth = 1.0f;
    s.safeHeight = 5.0f;
    s.dwellSeconds = 1.0f;
    s.travelX = s.travelY = s.travelZ = 100.0f;
    s.sensorDepth = 10.0f;
    s.showMillimetres = 1;
    s.hpglUnitsPerInch = 1016;
    s.lptAddress = 0x378;
    s.comAddress = 0x278;
    s.driveMode = 3;
    s.refreshMs = 100;
    s.linearRampX = s.linearRampY = s.linearRampZ = 1;
    s.commandCapacity = 50000;
    s.stepPulseUs = 10;
    s.dirSetupUs = 5;
    s.invertStep = 1;
    s.executorPriority = 3;
    s.softLimits = 1;
    s.rampSteps = 100;
    s.oldTimer = 1;
    s.invertEmergency = 0;
    DefaultPinAssignment(s);
    s.setupName = "default";
    s.setupVersion = "1.0.2.7";
}

MachineSettings FactorySettings() {
    MachineSettings s;
    LoadFactoryDefaults(s);
    return s;
}

}  // namespace korvex
