#include "machining/relief_job.h"

#include "log/text.h"
#include "motion/rounding.h"
#include "settings/machine_settings.h"

namespace korvex {

ReliefJob StartReliefJob(const MachineSettings& s) {
    ReliefJob job;
    job.depth = MmToSteps(1.0, s.mmPerStepZ);
    return job;
}

float StepsPerLevel(const ReliefJob& job, int32_t levelCount) {
    return static_cast<float>(job.depth) / static_cast<float>(levelCount) *
           static_cast<float>(job.zMultiple);
}

// Products of a step count and a step size are single precision, as the
// settings are.
static float Mm(int32_t steps, float mmPerStep) {
    return static_cast<float>(steps) * mmPerStep;
}

std::string ReliefSizeLine(const ReliefJob& job, const MachineSettings& s) {
    const float zOffsetMm = Mm(job.zOffset, s.mmPerStepZ);
    return Format("%0.2f x %0.2f x %0.2f mm @ DPI %dx%d, x%d, Z>%0.2f", Mm(job.sizeX, s.mmPerStepX),
                  Mm(job.sizeY, s.mmPerStepY),
                  Mm(job.depth, s.mmPerStepZ) * static_cast<float>(job.zMultiple) + zOffsetMm,
                  static_cast<int>(25.4 / s.mmPerStepX), static_cast<int>(25.4 / s.mmPerStepY),
                  job.multiple, zOffsetMm);
}

std::string ReliefLevelLine(const ReliefJob& job, int32_t levelCount, const MachineSettings& s) {
    return Format("%d .. %0.5fmm, %d .. %0.5fmm", levelCount,
                  static_cast<float>(levelCount) * job.stepsPerLevel * s.mmPerStepZ, 1,
                  job.stepsPerLevel * s.mmPerStepZ);
}

std::string ReliefResolutionHint(const MachineSettings& s) {
    return Format(
        "Při použití %2.5fmm se použije maximální rozlišení\n if you use %2.5fmm, program use "
        "maximal resolution",
        s.mmPerStepY, s.mmPerStepY);
}

std::string ReliefPitchByMultiple(const ReliefJob& job, const MachineSettings& s) {
    return Format("%0.5fmm", Mm(job.pitch, s.mmPerStepY) * static_cast<float>(job.multiple));
}

}  // namespace korvex
