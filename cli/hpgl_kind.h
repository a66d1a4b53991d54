#pragma once
// The HPGL producer names of the command line (--kind) and their codes.

#include <string>

#include "vector/vector_model.h"

namespace korvex::cli {

// "corel", "artcam", "sprint" or "generic"; 0 for any other name.
inline int32_t HpglKindOfName(const std::string& name) {
    if (name == "corel") return kHpglCorel;
    if (name == "artcam") return kHpglArtCam;
    if (name == "sprint") return kHpglSprint;
    if (name == "generic") return kHpglGeneric;
    return 0;
}

}  // namespace korvex::cli
