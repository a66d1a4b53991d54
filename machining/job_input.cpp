#include "machining/job_input.h"

#include <algorithm>

#include "log/event_log.h"
#include "motion/rounding.h"

namespace korvex {

int32_t CutSteps(double mm, float mmPerStepZ) {
    return std::max(1, MmToSteps(mm, mmPerStepZ));
}

int AcceptJobInput(EventLog& log, float feed, int32_t depth, int32_t sizeX, int32_t sizeY) {
    if (!(feed > 0)) {
        log.say({"Rychlost frézování musí být větší než 0, úloha nebyla zařazena",
                 "The cutting speed must be above 0, the job was not queued"},
                true, true);
        return 0;
    }
    if (depth < 0 || sizeX < 0 || sizeY < 0) {
        log.say({"Hloubka ani rozměry nesmí být záporné, úloha nebyla zařazena",
                 "The depth and the sizes must not be negative, the job was not queued"},
                true, true);
        return 0;
    }
    return 1;
}

}  // namespace korvex
