#pragma once
// The control and menu ids of the main window and the null-position dialog.

namespace korvex {

namespace mainwin {
// Menu commands.
inline constexpr int kMenuFinish = 40002, kMenuAbout = 40004, kMenuResetRel = 40014,
                     kMenuOverMaterial = 40015, kMenuSeparate = 40017, kMenuSurface = 40018,
                     kMenuSetup = 40022, kMenuSetRel = 40024, kMenuHpgl = 40039,
                     kMenuRaster = 40040, kMenuGcode = 40041, kMenuCalibration = 40055,
                     kMenuGotoRel = 40056, kMenuDrill = 40059, kMenuResetAbs = 40060,
                     kMenuTimerTest = 40064, kMenuSaveSolution = 40070, kMenuLoadSolution = 40072,
                     kMenuHeightMap = 40080;
// Open (Ctrl+O), and the ten "Open recent" entries from kMenuRecent on.
inline constexpr int kMenuOpen = 40082, kMenuRecent = 40090;
// Controls.
inline constexpr int kEmergencyStop = 1000, kMinX = 1002, kMinY = 1003, kMinZ = 1004, kMinKZ = 1005,
                     kEmergencySignal = 1006, kTargetX = 1007, kTargetY = 1008, kTargetZ = 1009,
                     kUseAcceleration = 1010, kAbsoluteTarget = 1011, kMachineSwitch = 1012,
                     kSpindleSwitch = 1013, kScaleUp = 1019, kHpgl = 1020, kResetBuffer = 1021,
                     kScaleDown = 1022, kScaleCalc = 1023, kProbe = 1024, kResetSensor = 1025,
                     kJogXPlus = 1026, kJogZMinus = 1031, kRaster = 1032, kToLeft = 1033,
                     kDrill = 1034, kRelX = 1037, kRelY = 1038, kRelZ = 1039, kSpeedX = 1040,
                     kBufferFill = 1041, kTimeToEnd = 1042, kModelFile = 1043, kModelType = 1044,
                     kModelSize = 1045, kModelPens = 1046, kModelObjects = 1047,
                     kCuttingFeed = 1048, kCutSize = 1049, kLeftX = 1050, kFinalX = 1053,
                     kSpeedY = 1056, kSpeedZ = 1057, kScalePercent = 1058, kToRight = 1059,
                     kVertical = 1060, kHorizont = 1061, kResetRel = 1062, kGoXYZ = 1063,
                     kLogList = 1064, kGoXYThenZ = 1065, kSetRel = 1066, kGotoRel = 1067,
                     kResetAbs = 1068, kSetAbs = 1069, kUpTo = 1070, kEndJob = 1071,
                     kContinue = 1072, kProgramStopText = 1073, kHomedX = 1074, kLogo = 1088,
                     kNewSizeX = 1093, kNewSizeY = 1094, kAbsX = 1119, kAbsY = 1120, kAbsZ = 1121;
// The drawing area of the model preview with the position cross.
inline constexpr int kPreviewArea = 1130;
// The machine's state line, and the feed override's slider (10 % a notch)
// with its value.
inline constexpr int kStateLine = 1131, kFeedOverride = 1132, kFeedOverrideText = 1133;
// The status timer, _TimerInfo.
inline constexpr int kStatusTimer = 1;
}  // namespace mainwin

namespace nullpos {
inline constexpr int kSwitchX = 1000, kSwitchZSensor = 1003, kHomeX = 1019, kHomeY = 1020,
                     kHomeZ = 1021, kHomeAll = 1022, kClose = 1023, kHomingCaption = 1024;
inline constexpr int kTimer = 1;
}  // namespace nullpos

}  // namespace korvex
