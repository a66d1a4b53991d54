// HPGL: any bytes, read as each of the three producers, load or are refused
// without crash, hang or overrun; a drawing that loads lies within its size
// and every layer lists only objects of its own pen.

#include <cstdint>

#include "tests/fuzz/fuzz_rig.h"
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
    korvex::fuzz::FuzzRig& rig = korvex::fuzz::Rig();
    const std::string& path = rig.input(data, size);
    for (int32_t kind : {korvex::kHpglCorel, korvex::kHpglArtCam, korvex::kHpglSprint}) {
        korvex::VectorModel model;
        korvex::LoadVectorFile(model, path, kind, rig.m.settings, rig.m.log, rig.host);
        Check(model);
    }
    return 0;
}
