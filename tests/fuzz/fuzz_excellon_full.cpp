// The full Excellon reader (the formats PCB tools write), hole ordering included.

#include "drilling/excellon_full.h"
#include "tests/fuzz/drill_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return korvex::fuzz::FuzzDrillReader(
        data, size, [](korvex::Machine& m, korvex::DrillSet& set, const std::string& path) {
            return korvex::LoadExcellonFullFile(m, set, path);
        });
}
