#pragma once
// The soak's job mix: an HPGL cut, the holes of a drill file, surface
// milling in each style and a circle separation, in turn, with sizes drawn
// from the soak's random numbers. Each job goes through its generator's own
// count first and is queued only when it fits the buffer, as the dialogs do.

#include <random>
#include <string>

#include "drilling/drill_set.h"
#include "machining/circle_table.h"
#include "machining/job_values.h"
#include "platform/headless.h"
#include "tests/testkit/temp_dir.h"
#include "vector/vector_job.h"
#include "vector/vector_model.h"

namespace korvex::test {

class SoakJobs {
  public:
    // Loads the drawing and the drill file; the machine needs a relative origin.
    explicit SoakJobs(Machine& m);

    // Queues the next job of the mix when it fits the free slots; false
    // (nothing queued) when it does not fit yet. Window thread.
    bool queueNext(std::mt19937& random);
    // The kind of job queued last: "hpgl", "drill", "surface" or "circle".
    const char* lastKind() const { return kKinds[last_]; }

  private:
    static constexpr const char* kKinds[] = {"hpgl", "drill", "surface", "circle"};

    bool queueHpgl(std::mt19937& random);
    bool queueDrilling(std::mt19937& random);
    bool queueSurface(std::mt19937& random);
    bool queueCircle(std::mt19937& random);

    Machine& m_;
    ScriptedHost host_;
    TempDir dir_;
    VectorModel drawing_;
    DrillSet drills_;
    JobValues values_;
    int next_ = 0, last_ = 0;
};

}  // namespace korvex::test
