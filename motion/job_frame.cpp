#include "motion/job_frame.h"

#include <algorithm>

#include "motion/rounding.h"

namespace korvex {

JobFrame::JobFrame(const Machine& m, int32_t safeSteps)
    : safe_(safeSteps),
      surface_(m.position.relOriginSet.load() ? int64_t{m.position.relOriginZ.load()}
                                              : int64_t{m.position.plannedZ.load()} + safeSteps),
      level_(-int64_t{safeSteps}) {}

bool JobFrame::fits(Machine& m, int64_t deepest, int64_t raised, int64_t lowered) const {
    const MachineSettings& s = m.settings;
    if (!s.softLimits) return true;
    const double mm = s.mmPerStepZ;
    const int64_t above = safe_ + raised - surface_;
    if (above > 0) {
        SayFormatted(m.log,
                     {"Přejezd %.3f mm nad materiálem se nevejde do dráhy osy Z, chybí %.3f mm: "
                      "úloha nebyla spuštěna",
                      "The safe height of %.3f mm above the material does not fit the Z travel, "
                      "%.3f mm short: the job was not started"},
                     true, true, safe_ * mm, static_cast<double>(above) * mm);
        return false;
    }
    const int64_t below = surface_ + lowered + deepest - TravelSteps(s, 2);
    if (below > 0) {
        SayFormatted(m.log,
                     {"Hloubka %.3f mm pod povrchem přesahuje dráhu osy Z o %.3f mm: úloha nebyla "
                      "spuštěna",
                      "The depth of %.3f mm below the surface leaves the Z travel by %.3f mm: the "
                      "job was not started"},
                     true, true, static_cast<double>(deepest) * mm,
                     static_cast<double>(below) * mm);
        return false;
    }
    return true;
}

int32_t JobFrame::rise(const Machine& m) const {
    return static_cast<int32_t>(
        std::min<int64_t>(surface_ - safe_ - m.position.plannedZ.load(), 0));
}

int32_t JobFrame::aim(const Machine& m, int64_t dz, int64_t raise) {
    level_ += dz;
    const int64_t to = surface_ + level_ - raise - m.position.plannedZ.load();
    return static_cast<int32_t>(std::clamp<int64_t>(to, INT32_MIN, INT32_MAX));
}

void SetOriginOverMaterial(Machine& m) {
    MachinePosition& p = m.position;
    p.relOriginX = p.plannedX.load();
    p.relOriginY = p.plannedY.load();
    p.relOriginZ = p.plannedZ.load() + MmToSteps(m.settings.safeHeight, m.settings.mmPerStepZ);
    p.relOriginSet = 1;
}

}  // namespace korvex
