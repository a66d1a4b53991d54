#include "machining/relief_output.h"

#include <chrono>
#include <thread>

#include "motion/step_output.h"

namespace korvex {

// The settings may have changed since the executor last ran.
void PortReliefOutput::begin() {
    PrepareStepOutput(machine_);
}

bool PortReliefOutput::step(int stepX, int stepY, int stepZ, int periodUs) {
    return OutputStep(machine_, stepX, stepY, stepZ, 0, periodUs, 0) != 0;
}

void PortReliefOutput::idle() {
    if (events_) events_();
}

void PortReliefOutput::wait() {
    idle();
    // The operator takes seconds to release a stop: no need to spin.
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

}  // namespace korvex
