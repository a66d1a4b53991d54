// A long mixed job on the simulated machine with the virtual clock, with
// emergency stops (some with another job queued while stopped), releases and
// buffer resets (some with a job queued before the executor settles them),
// a port that starts failing, and shutdowns while a stop holds (the soak
// goes on with a new machine) injected at seeded random ticks, and bursts
// of stopAfter moves raced by instant releases. After every event the
// executed position must equal the steps the machine received, the queue
// must hold exactly what was appended and not yet run (the running command
// part-way), and a reset must leave the resume position where the last
// pulse left the machine. Every job ends where it started, so each drained
// buffer finds the tool back at the origin.
//
// KORVEX_SOAK_EVENTS and KORVEX_SOAK_SEED change the length and the draw.

#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <future>
#include <mutex>
#include <optional>
#include <random>
#include <string>
#include <thread>
#include <vector>

#include "motion/executor.h"
#include "motion/job_frame.h"
#include "motion/motion_rig.h"
#include "motion/port.h"
#include "motion/rounding.h"
#include "tests/soak/soak_jobs.h"
#include "tests/testkit/reporting_machine.h"

namespace korvex::test {
namespace {

int EnvOr(const char* name, int fallback) {
    const char* value = std::getenv(name);
    return value && *value ? std::atoi(value) : fallback;
}

template <typename Condition>
bool WaitFor(Condition condition) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (!condition()) {
        if (std::chrono::steady_clock::now() > deadline) return false;
        std::this_thread::yield();
    }
    return true;
}

// Holds the executor in the tick observer of a chosen tick until the window
// thread has done what it wanted to do at that tick.
class Breakpoint {
  public:
    void arm(int64_t tick) { at_ = tick; }
    void disarm() {
        arm(-1);
        release();
    }
    // Executor thread, every tick.
    void onTick() {
        if (++ticks_ != at_) return;
        std::unique_lock lock(mutex_);
        hit_ = true;
        released_.wait(lock, [this] { return !hit_; });
    }
    bool hit() const {
        std::lock_guard lock(mutex_);
        return hit_;
    }
    void release() {
        {
            std::lock_guard lock(mutex_);
            hit_ = false;
        }
        released_.notify_all();
    }
    int64_t ticks() const { return ticks_; }

  private:
    std::atomic<int64_t> ticks_{0}, at_{-1};
    bool hit_ = false;
    mutable std::mutex mutex_;
    std::condition_variable released_;
};

int32_t Steps(const MotionCommand& c, int axis) {
    return axis == 0 ? c.dx : axis == 1 ? c.dy : c.dz;
}

// The simulated machine behind a port that can start failing, as a ppdev
// port whose device went away: from then on nothing written reaches the
// machine and the port reports itself unhealthy.
class FailingPort final : public PortIo {
  public:
    explicit FailingPort(SimulatedMachine& sim) : sim_(sim) {}
    bool load() override { return true; }
    uint8_t in(uint16_t address) override { return sim_.in(address); }
    void out(uint16_t address, uint8_t value) override {
        if (!failing_.load()) sim_.out(address, value);
    }
    std::string name() const override { return "sim"; }
    std::string lastError() const override { return "PPWDATA: No such device"; }
    bool healthy() const override { return !failing_.load(); }
    void fail(bool failing) { failing_.store(failing); }

  private:
    SimulatedMachine& sim_;
    std::atomic<bool> failing_{false};
};

enum class Event {
    Stop,
    StopWithEarlyRelease,
    Reset,
    ResetWhileStopped,
    QueueWhileStopped,
    ResetThenQueue,              // a job queued between the request and the executor's settling
    ResetThenQueueWhileStopped,  // the same while the emergency stop holds the executor
    PortFails,
    ShutdownWhileStopped  // ends this machine; the soak goes on with a new one
};

struct Tally {
    int events = 0, stops = 0, refusedReleases = 0, resets = 0, drains = 0, jobs = 0,
        queuedWhileStopped = 0, queuedAfterReset = 0, stopAfterRaces = 0, portFailures = 0,
        shutdowns = 0;
    int64_t discarded = 0, ticks = 0;
};

MachineSettings SoakSettings() {
    MachineSettings s = FactorySettings();
    s.language = 1;
    s.softLimits = 0;  // every queued step is output: the ledger stays exact
    s.travelX = s.travelY = s.travelZ = 1000;
    return s;
}

class Soak {
  public:
    // The simulated machine on the virtual clock, behind a port that can fail.
    Soak(uint32_t seed, Tally& tally)
        : sim_(clock_, SimConfigFromSettings(SoakSettings())),
          port_(sim_),
          rig_(Prepared(m_, clock_), {"sim", false, &port_}),
          random_(seed),
          tally_(tally) {
        rig_.executor().setTickObserver([this](const Tick&) { breakpoint_.onTick(); });
        m_.buffer.addAppendObserver([this](const MotionCommand& c) { appended_.push_back(c); });
        SetOriginOverMaterial(m_);  // every job starts and ends here, safe height over it
        jobs_.emplace(m_);
        for (int axis = 0; axis < 3; ++axis) lostAtStart_[axis] = sim_.stepsLost(axis);
    }
    ~Soak() {
        breakpoint_.disarm();
        tally_.ticks += breakpoint_.ticks();
    }

    // Until `events` events in all, or a shutdown ends this machine.
    void run(int events);

  private:
    bool drained() const { return m_.buffer.queued() == 0 && m_.executor.executorIdle.load(); }
    bool halted() const { return m_.gate.count() > 0 && m_.signals.estopActive.load(); }
    bool settled() const { return drained() && m_.executor.resetRequest.load() == 0; }
    Steps3 position() const { return Executed(m_); }
    // What a wait that timed out was left with.
    std::string state() const;

    void stop(Event event);
    bool haltOnTheStop();
    void portFails();
    void shutDownWhileStopped();
    void reset(int ticksLeft, bool queueAfter);
    bool queueAfterReset();
    void raceReleasesWithStopAfter();
    void checkCounters();
    int checkQueue() const;
    void checkResume(const Steps3& lastPulse, bool moveCutShort);
    void returnToOrigin();
    // The ledger starts again from where the tool stands.
    void rebase() {
        appended_.clear();
        base_ = position();
    }
    void requestReset() {
        tally_.discarded += m_.buffer.queued();
        ++tally_.resets;
        RequestBufferReset(m_);
    }

    static Machine& Prepared(Machine& m, PerformanceCounter& clock) {
        m.settings = SoakSettings();
        m.buffer.allocate(5000);
        m.timing.clock = &clock;
        return m;
    }

    Breakpoint breakpoint_;  // outlives the executor that calls it
    Machine m_;
    VirtualClock clock_;
    SimulatedMachine sim_;
    FailingPort port_;
    MotionRig rig_;
    std::mt19937 random_;
    std::optional<SoakJobs> jobs_;  // needs the machine's relative origin
    // Everything appended since the ledger's base position, in order.
    std::vector<MotionCommand> appended_;
    Steps3 base_{};
    // What the machine's power-on and port test cost before any command.
    int64_t lostAtStart_[3] = {0, 0, 0};
    Tally& tally_;
};

std::string Soak::state() const {
    return "queued " + std::to_string(m_.buffer.queued()) + ", idle " +
           std::to_string(m_.executor.executorIdle.load()) + ", suspended " +
           std::to_string(m_.gate.count()) + ", estop " +
           std::to_string(m_.signals.estopActive.load()) + ", reset asked " +
           std::to_string(m_.executor.resetRequest.load()) + ", tick " +
           std::to_string(breakpoint_.ticks()) + ", held " + std::to_string(breakpoint_.hit());
}

// The machine counted every pulse the executor counted, and lost none.
void Soak::checkCounters() {
    const Steps3 at = position();
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_EQ(at[axis], sim_.stepsReceived(axis)) << "axis " << axis;
        EXPECT_EQ(sim_.stepsLost(axis), lostAtStart_[axis]) << "axis " << axis;
    }
}

// With the executor held, the queue is the tail of the ledger: the head
// part-way, the rest untouched; what ran before it ran exactly once.
// Returns the ticks the head has left (its largest remaining axis).
int Soak::checkQueue() const {
    const int queued = m_.buffer.queued();
    EXPECT_LE(queued, static_cast<int>(appended_.size()));
    if (queued > static_cast<int>(appended_.size())) return 0;
    const size_t head = appended_.size() - static_cast<size_t>(queued);
    int64_t ticksLeft = 0;
    const Steps3 planned = Planned(m_), at = position();
    for (int axis = 0; axis < 3; ++axis) {
        int64_t done = base_[axis], all = base_[axis];
        for (size_t i = 0; i < appended_.size(); ++i) {
            const int32_t d = Steps(appended_[i], axis);
            all += d;
            if (i < head) done += d;
        }
        EXPECT_EQ(planned[axis], all) << "axis " << axis;
        const int64_t partial = at[axis] - done;
        const int32_t d = queued ? Steps(appended_[head], axis) : 0;
        EXPECT_TRUE(d >= 0 ? partial >= 0 && partial <= d : partial <= 0 && partial >= d)
            << "axis " << axis << ": " << partial << " of " << d;
        ticksLeft = std::max(ticksLeft, std::abs(d - partial));
    }
    for (int i = 0; i < queued; ++i) {
        const MotionCommand e = m_.buffer.entry(i);
        const MotionCommand& c = appended_[head + i];
        if (i > 0) {
            EXPECT_TRUE(e.dx == c.dx && e.dy == c.dy && e.dz == c.dz) << "entry " << i;
        }
        EXPECT_TRUE(e.periodUs == c.periodUs && e.accelerated == c.accelerated &&
                    e.dwellAfter == c.dwellAfter && e.checkSwitches == c.checkSwitches &&
                    e.spindleOn == c.spindleOn && e.stopAfter == c.stopAfter)
            << "entry " << i;
    }
    return static_cast<int>(ticksLeft);
}

// After a reset: no pulse after `lastPulse`. A move the reset cut short left
// its resume position there; a reset between two moves saves none.
void Soak::checkResume(const Steps3& lastPulse, bool moveCutShort) {
    EXPECT_EQ(position(), lastPulse);
    EXPECT_EQ(m_.position.resumeValid.load(), moveCutShort ? 1 : 0);
    if (m_.position.resumeValid.load()) {
        EXPECT_EQ(position(),
                  (Steps3{m_.position.resumeX, m_.position.resumeY, m_.position.resumeZ}));
    }
    checkCounters();
}

// As the operator does after a reset: take the resume position as the
// planned one and go back to the job origin.
void Soak::returnToOrigin() {
    const Steps3 at = position();
    m_.position.plannedX = at[0], m_.position.plannedY = at[1], m_.position.plannedZ = at[2];
    m_.position.resumeValid = 0;
    rebase();
    AppendCommand(m_, -at[0], -at[1], -at[2], 2000, 1, 0, 0, 0, 0);
}

// A job queued after a reset request is kept whole: it runs after the
// abandoned move and, like every job, ends where it started.
bool Soak::queueAfterReset() {
    if (!jobs_->queueNext(random_)) return false;
    ++tally_.jobs, ++tally_.queuedAfterReset;
    return true;
}

void Soak::reset(int ticksLeft, bool queueAfter) {
    const Steps3 lastPulse = position();
    requestReset();
    if (queueAfter) queueAfterReset();
    breakpoint_.release();
    ASSERT_TRUE(WaitFor([&] { return settled(); })) << "reset never settled: " << state();
    checkResume(lastPulse, ticksLeft > 0);
    returnToOrigin();
}

// Lets the held tick go on and waits until the stop holds the executor;
// false (after a failure) when it never did.
bool Soak::haltOnTheStop() {
    breakpoint_.release();
    if (!WaitFor([&] { return halted() || drained(); })) {
        ADD_FAILURE() << "the stop never halted: " << state();
        return false;
    }
    // The stop came after the last pulse: the status timer sees it.
    if (!halted()) ReadInputs(m_);
    EXPECT_TRUE(halted());
    return halted();
}

void Soak::stop(Event event) {
    const Steps3 lastPulse = position();
    ++tally_.stops;
    sim_.pressEmergency(true);
    if (!haltOnTheStop()) return;
    EXPECT_EQ(position(), lastPulse) << "a pulse after the emergency input";
    checkCounters();
    const int ticksLeft = checkQueue();
    if (event == Event::QueueWhileStopped && jobs_->queueNext(random_)) {
        // The appends must not lift the stop: give the executor a chance.
        ++tally_.jobs, ++tally_.queuedWhileStopped;
        std::this_thread::sleep_for(std::chrono::microseconds(200));
        EXPECT_TRUE(halted());
        EXPECT_EQ(position(), lastPulse) << "a pulse after the emergency input";
    }
    if (event == Event::StopWithEarlyRelease) {
        ++tally_.refusedReleases;
        EXPECT_EQ(ReleaseEmergencyStop(m_), 0) << "released while the input is active";
        EXPECT_TRUE(halted());
    }
    const bool resetToo =
        event == Event::ResetWhileStopped || event == Event::ResetThenQueueWhileStopped;
    bool jobAfter = false;
    if (resetToo) {
        requestReset();
        if (event == Event::ResetThenQueueWhileStopped) jobAfter = queueAfterReset();
    }
    sim_.pressEmergency(false);
    ASSERT_EQ(ReleaseEmergencyStop(m_), 1);
    EXPECT_EQ(m_.signals.estopActive, 0);
    if (!resetToo) return;
    ASSERT_TRUE(WaitFor([&] { return settled(); })) << "reset never settled: " << state();
    if (jobAfter) {
        // Planned from where the stop held the tool: the job starts there
        // and ends over it at its safe height.
        const int32_t safe = MmToSteps(m_.settings.safeHeight, m_.settings.mmPerStepZ);
        EXPECT_EQ(position(), (Steps3{lastPulse[0], lastPulse[1], m_.position.relOriginZ - safe}));
        checkCounters();
    } else {
        // The tick the stop held makes no pulse once the reset has come.
        checkResume(lastPulse, ticksLeft > 0);
    }
    returnToOrigin();
}

// The port fails in the middle of a job: the executor stops before another
// pulse and keeps the queue until the operator resets it and the port is
// back.
void Soak::portFails() {
    const Steps3 lastPulse = position();
    ++tally_.portFailures;
    port_.fail(true);
    if (!haltOnTheStop()) return;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
    EXPECT_TRUE(halted());
    EXPECT_EQ(position(), lastPulse) << "a pulse after the port failed";
    checkCounters();
    checkQueue();
    requestReset();
    port_.fail(false);
    ASSERT_EQ(ReleaseEmergencyStop(m_), 1);
    ASSERT_TRUE(WaitFor([&] { return settled(); })) << "reset never settled: " << state();
    EXPECT_EQ(position(), lastPulse);
    checkCounters();
    returnToOrigin();
}

// The program ends while the emergency stop holds the executor in a job:
// the executor ends at once, with no pulse after the stop.
void Soak::shutDownWhileStopped() {
    const Steps3 lastPulse = position();
    ++tally_.shutdowns;
    sim_.pressEmergency(true);
    if (!haltOnTheStop()) return;
    checkQueue();
    auto stopping = std::async(std::launch::async, [this] { rig_.executor().stop(); });
    if (stopping.wait_for(std::chrono::seconds(20)) != std::future_status::ready) {
        std::fprintf(stderr, "the shutdown hung: %s\n", state().c_str());
        std::abort();  // nothing to tear down with an executor that never ends
    }
    EXPECT_EQ(m_.executor.executorExited, 1);
    EXPECT_EQ(position(), lastPulse) << "a pulse after the emergency input";
    checkCounters();
}

// Moves with stopAfter while an operator releases the stop the moment it
// is raised: a release landing as the executor raises its own stop must
// never leave it suspended with nothing to release it.
void Soak::raceReleasesWithStopAfter() {
    ++tally_.stopAfterRaces;
    breakpoint_.arm(-1);
    std::atomic<bool> done{false};
    std::thread operatorThread([&] {
        while (!done.load())
            if (m_.signals.estopActive.load()) ReleaseEmergencyStop(m_);
    });
    for (int i = 0; i < 200; ++i) AppendCommand(m_, 0, 0, i % 2 ? 1 : -1, 500, 0, 0, 0, 0, 1);
    const bool finished = WaitFor([&] { return drained(); });
    done.store(true);
    operatorThread.join();
    ASSERT_TRUE(finished) << "stranded by a release: " << state();
    checkCounters();
    rebase();
}

void Soak::run(int events) {
    std::mt19937& random = random_;
    std::discrete_distribution<int> kinds({34, 12, 20, 8, 10, 8, 8, 5, 1});
    while (tally_.events < events && !::testing::Test::HasFatalFailure()) {
        if (drained()) {
            if (std::bernoulli_distribution(0.02)(random)) raceReleasesWithStopAfter();
            for (int n = std::uniform_int_distribution<int>(1, 3)(random); n > 0; --n)
                tally_.jobs += jobs_->queueNext(random);
        }
        // Mostly soon, sometimes late enough for the jobs to finish first.
        const int64_t longest = std::bernoulli_distribution(0.7)(random) ? 2000 : 60000;
        breakpoint_.arm(breakpoint_.ticks() +
                        std::uniform_int_distribution<int64_t>(1, longest)(random));
        ASSERT_TRUE(WaitFor([&] { return breakpoint_.hit() || drained(); }))
            << "neither the tick nor the end came: " << state();
        if (!breakpoint_.hit()) {
            // The jobs queued next must not meet this unreached tick.
            breakpoint_.arm(-1);
            // Every job ends where it started.
            ++tally_.drains;
            checkCounters();
            checkQueue();
            EXPECT_EQ(position(), Steps3{});
            rebase();
            continue;
        }
        checkCounters();
        const int ticksLeft = checkQueue();
        const auto event = static_cast<Event>(kinds(random));
        ++tally_.events;
        if (event == Event::ShutdownWhileStopped) {
            shutDownWhileStopped();
            return;
        }
        if (event == Event::PortFails)
            portFails();
        else if (event == Event::Reset || event == Event::ResetThenQueue)
            reset(ticksLeft, event == Event::ResetThenQueue);
        else
            stop(event);
    }
    breakpoint_.disarm();
    ASSERT_TRUE(WaitFor([&] { return drained(); })) << "never drained: " << state();
    EXPECT_EQ(position(), Steps3{});
    checkCounters();
}

TEST(SoakTest, MixedJobsSurviveStopsReleasesAndResets) {
    const int events = EnvOr("KORVEX_SOAK_EVENTS", 3000);
    const auto seed = static_cast<uint32_t>(EnvOr("KORVEX_SOAK_SEED", 20261206));
    const auto start = std::chrono::steady_clock::now();
    Tally t;
    for (uint32_t machine = 0; t.events < events && !::testing::Test::HasFatalFailure();)
        Soak(seed + machine++, t).run(events);
    const double seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    std::printf(
        "soak seed %u: %d events (%d stops, %d refused releases, %d resets, %d jobs queued while "
        "stopped, %d after a reset, %d stopAfter races, %d port failures, %d shutdowns while "
        "stopped), %d jobs, %d drains, %lld ticks, %lld queued commands discarded by resets, "
        "%.1f s\n",
        seed, t.events, t.stops, t.refusedReleases, t.resets, t.queuedWhileStopped,
        t.queuedAfterReset, t.stopAfterRaces, t.portFailures, t.shutdowns, t.jobs, t.drains,
        static_cast<long long>(t.ticks), static_cast<long long>(t.discarded), seconds);
    EXPECT_GT(t.stops, 0);
    EXPECT_GT(t.resets, 0);
    EXPECT_GT(t.queuedWhileStopped, 0);
    EXPECT_GT(t.queuedAfterReset, 0);
    EXPECT_GT(t.stopAfterRaces, 0);
    EXPECT_GT(t.portFailures, 0);
    EXPECT_GT(t.shutdowns, 0);
}

}  // namespace
}  // namespace korvex::test
