// HPGL: any bytes, read as each of the three producers, load or are refused
// without crash, hang or overrun; a drawing that loads lies within its size
// and every layer lists only objects of its own pen.

#include <cstdint>

#include "motion/machine.h"
#include "platform/headless.h"
#include "tests/fuzz/fuzz_input.h"
#include "vector/hpgl_reader.h"

namespace {

void Check(const korvex::VectorModel& model) {
    if (!model.loaded) return;
    for (const korvex::VectorObject& object : model.objects)
        for (const korvex::VectorPoint& p : object.points)
            if (p.x < 0 || p.y < 0 || p.z < 0 || p.x > model.width || p.y > model.height)
                __builtin_trap();
    if (model.penCount > korvex::kPenTableSize) __builtin_trap();
    for (int i = 0; i < model.penCount; ++i)
        for (int32_t index : model.pens[i].objectOrder)
            if (model.objects.at(index).pen != model.pens[i].pen) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static korvex::fuzz::InputFile input;
    static korvex::Machine m;
    static korvex::ScriptedHost host;
    static const bool ready = [] {
        korvex::LoadFactoryDefaults(m.settings);
        return true;
    }();
    (void)ready;
    const std::string& path = input.write(data, size);
    for (int32_t kind : {korvex::kHpglCorel, korvex::kHpglArtCam, korvex::kHpglSprint}) {
        korvex::VectorModel model;
        korvex::LoadVectorFile(model, path, kind, m.settings, m.log, host);
        Check(model);
    }
    host.boxes.clear();
    return 0;
}
