#include "motion/job_sink.h"

#include "motion/rounding.h"
#include "motion_fixture.h"

namespace korvex {
namespace {

struct JobSinkTest : MotionTest {
    JobSinkTest() { m.buffer.allocate(100); }
};

// A job with moves of length 0 among its own: a plunge of 0 in the last
// cycle, an empty travel in every cycle and a final one.
int64_t Job(Machine& m, bool countOnly, int64_t cycles, int32_t cut, int32_t depth) {
    JobSink sink(m, countOnly, 50);
    if (!RelativeOriginSet(m) || !sink.start(depth)) return 0;
    sink.move(0, 0, 50, 100, 1, 0, 0);
    sink.repeat(cycles, [&](int64_t i) {
        const int32_t plunge = i + 1 < cycles ? cut : depth - cut * (cycles - 1);
        sink.move(0, 0, plunge, 100, 0, 1, 1);
        sink.times(3, [&](int64_t) {
            sink.move(7, 0, 0, 100, 0, 0, 1);
            sink.move(0, 0, 0, 100, 0, 0, 1);
            sink.move(-7, 0, 0, 100, 0, 0, 1);
        });
    });
    sink.move(0, 0, -(50 + depth), 100, 1, 0, 0);
    sink.move(0, 0, 0, 100, 1, 0, 0);
    return sink.count();
}

TEST_F(JobSinkTest, CountIsWhatIsQueued) {
    SetOriginOverMaterial(m);
    for (const auto& [cycles, cut, depth] :
         {std::tuple{1, 10, 10}, {2, 10, 20}, {4, 10, 30}, {5, 3, 14}}) {
        SCOPED_TRACE(cycles);
        m.buffer.reset();
        m.position.plannedZ = 20;  // below safe height: the job rises first
        const int64_t counted = Job(m, true, cycles, cut, depth);
        EXPECT_EQ(m.buffer.queued(), 0) << "counting queues nothing";
        EXPECT_EQ(Job(m, false, cycles, cut, depth), counted);
        EXPECT_EQ(m.buffer.queued(), counted);
        EXPECT_EQ(m.position.plannedZ.load(), m.position.relOriginZ.load() - 50)
            << "ends at safe height above the surface";
    }
}

TEST_F(JobSinkTest, RefusalsQueueNothingAndShowOneBox) {
    auto queue = [&] {
        return QueueJob(m, [&](bool countOnly) { return Job(m, countOnly, 3, 5, 15); });
    };
    EXPECT_FALSE(queue());

    SetOriginOverMaterial(m);
    m.buffer.allocate(20);  // the job is 23 moves
    EXPECT_FALSE(queue());
    EXPECT_EQ(m.buffer.queued(), 0);
    EXPECT_FALSE(FreeSlotsHold(m, 22, {"", "%d short, %d would do"}));

    m.buffer.allocate(23);
    EXPECT_TRUE(queue());
    EXPECT_EQ(m.buffer.queued(), 23);
    EXPECT_EQ(boxTexts(),
              (std::vector<std::string>{"you must define relative point (startpoint)",
                                        "Not enought space in buffer,more space plus 3 ",
                                        "2 short, 50002 would do"}));
}

// Each Z move goes to its level below the surface: one the soft limits
// shortened (a rise near the top of Z) does not make a later cut deeper.
TEST_F(JobSinkTest, ZMovesAreAimedAtTheirLevel) {
    m.position.plannedZ = 30;
    SetOriginOverMaterial(m);  // surface at 80 steps, safe height at 30
    m.position.plannedZ = 200;
    JobSink sink(m, false, 50);
    ASSERT_TRUE(sink.start(100));
    EXPECT_EQ(m.position.plannedZ.load(), 30);
    sink.move(0, 0, 50 + 40, 100, 0, 0, 0);  // down to 40 below the surface
    EXPECT_EQ(m.position.plannedZ.load(), 120);
    sink.move(0, 0, -(50 + 40) - 100, 100, 1, 0, 0);  // beyond the top of Z: stops at 0
    EXPECT_EQ(m.position.plannedZ.load(), 0);
    sink.move(0, 0, 100 + 50 + 10, 100, 0, 0, 0);  // to 10 below the surface
    EXPECT_EQ(m.position.plannedZ.load(), 90);

    JobSink deep(m, false, 50);
    EXPECT_FALSE(deep.start(1000 - 80 + 1));
    EXPECT_EQ(host.boxes.back().text,
              "The depth of 92.100 mm below the surface leaves the Z travel by 0.100 mm: the job "
              "was not started");
}

}  // namespace
}  // namespace korvex
