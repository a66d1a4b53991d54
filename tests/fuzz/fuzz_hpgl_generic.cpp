// Generic HPGL: any bytes load or are refused without crash, hang or
// overrun; a drawing that loads lies within its size, flat, with pens of the
// table only and every object a drawn polyline.

#include <cstdint>

#include "tests/fuzz/fuzz_rig.h"
#include "vector/hpgl_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    korvex::fuzz::FuzzRig& rig = korvex::fuzz::Rig();
    korvex::VectorModel model;
    korvex::LoadVectorFile(model, rig.input(data, size), korvex::kHpglGeneric, rig.m.settings,
                           rig.m.log, rig.host);
    if (!model.loaded) return 0;
    for (const korvex::VectorObject& object : model.objects) {
        if (object.pointCount() < 2 || object.pen < 1 || object.pen > korvex::kPenTableSize)
            __builtin_trap();
        for (const korvex::VectorPoint& p : object.points)
            if (p.x < 0 || p.y < 0 || p.z != 0 || p.x > model.width || p.y > model.height)
                __builtin_trap();
    }
    return 0;
}
