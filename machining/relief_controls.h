#pragma once
// The "3D modelling" dialog's controls and captions.

#include "log/text.h"

namespace korvex {

enum ReliefControl {
    kReliefGo = 1,                 // "OK, Go"
    kReliefEnd = 2,                // "Konec, End"
    kReliefFile = 3,               // "Soubor (file)"
    kReliefInvert = 4,             // "Invert"
    kReliefSimulate = 5,           // "Simulace (simulation)"
    kReliefRatio = 1000,           // check box, disabled
    kReliefZMultiple = 1001,       // check box
    kReliefMinus = 1019,           // "--"
    kReliefPlus = 1020,            // "++"
    kReliefShowSimulation = 1021,  // "Zobraz simulaci (draw simulation)"
    kReliefEmergencyStop = 1022,   // push-like check box, shows estopActive
    kReliefEndJob = 1023,          // "Ukončit úlohu / End job", only while carving
    kReliefLevels = 1096,          // "%d linear"
    kReliefOriginal = 1097,        // "original %dx%d pixel"
    kReliefSize = 1098,            // the size line, in the "Info" group
    kReliefResolution = 1099,
    kReliefLevelLine = 1100,
    kReliefPitchByMultiple = 1101,
    kReliefScrollX = 1103,
    kReliefScrollY = 1104,
    kReliefMultiple = 1107,  // "Násobek (multiple) > %d"
    kReliefDepth = 1108,     // edit, mm
    kReliefCut = 1109,       // edit, mm, disabled
    kReliefFeed = 1110,      // edit, "%0.2f/s"
    kReliefPitch = 1111,     // edit, mm
    kReliefZOffset = 1112,   // edit, mm
    kReliefSizeX = 1113,     // edit, mm, disabled
    kReliefSizeY = 1114,     // edit, mm, disabled
    kReliefDepthCaption = 1901,
    kReliefCutCaption = 1902,
    kReliefFeedCaption = 1903,
    kReliefPitchCaption = 1904,
    kReliefZOffsetCaption = 1905,
    kReliefPitchByMultipleCaption = 1906,
    kReliefLevelsCaption = 1907
};

inline constexpr Text kReliefTitle{"3D modelování", "3D modelling"};

inline constexpr Text kReliefDepthLabel{"Hloubka", "depth"};
inline constexpr Text kReliefCutLabel{"Špona", "cut"};
inline constexpr Text kReliefFeedLabel{"Rychlost frézování", "cutting speed"};
inline constexpr Text kReliefPitchLabel{"Rozestup", "pitch"};
inline constexpr Text kReliefZOffsetLabel{"Snížení frézování", "offset of Z"};
inline constexpr Text kReliefRatioLabel{"poměr", "ratio"};
inline constexpr Text kReliefZMultipleLabel{"Použít násobek i pro Z", "use multiple for Z"};
inline constexpr Text kReliefPitchByMultipleLabel{"Výsledný rozestup", "Pitch by multiple"};
inline constexpr Text kReliefLevelsLabel{"Počet vrstev", "count of levels"};

}  // namespace korvex
