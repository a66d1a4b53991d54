// Generic HPGL: any bytes load or are refused without crash, hang or
// overrun; a drawing that loads lies within its size, flat, with pens of the
// table only and every object a drawn polyline.

#include <cstdint>

#include "motion/machine.h"
#include "platform/headless.h"
#include "tests/fuzz/fuzz_input.h"
#include "vector/hpgl_reader.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static korvex::fuzz::InputFile input;
    static korvex::Machine m;
    static korvex::ScriptedHost host;
    static const bool ready = [] {
        korvex::LoadFactoryDefaults(m.settings);
        return true;
    }();
    (void)ready;
    korvex::VectorModel model;
    korvex::LoadVectorFile(model, input.write(data, size), korvex::kHpglGeneric, m.settings, m.log,
                           host);
    host.boxes.clear();
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
