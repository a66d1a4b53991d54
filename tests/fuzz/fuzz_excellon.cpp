// The Excellon subset reader (.drl).

#include "drilling/drill_readers.h"
#include "tests/fuzz/drill_fuzzing.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    return korvex::fuzz::FuzzDrillReader(
        data, size, [](korvex::Machine& m, korvex::DrillSet& set, const std::string& path) {
            return korvex::LoadDrillFile(m, set, path, korvex::kExcellonFormat);
        });
}
