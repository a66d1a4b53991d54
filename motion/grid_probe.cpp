#include "motion/grid_probe.h"

#include <algorithm>
#include <cmath>

#include "log/event_log.h"
#include "motion/executor.h"
#include "motion/job_frame.h"
#include "motion/rounding.h"

namespace korvex {

namespace {
// Rise, travel and the descent of one point.
constexpr int kMovesPerPoint = 3;
}  // namespace

bool GridProbe::start(const GridProbeSettings& g) {
    Machine& m = m_;
    const MachineSettings& s = m.settings;
    if (running() || m.signals.estopActive.load() || !ExecutorAtRest(m)) {
        m.log.say({"Výškovou mapu nelze měřit, dokud stroj pracuje",
                   "The height map cannot be probed while the machine is working"},
                  true, true);
        return false;
    }
    if (!(g.x1 > g.x0) || !(g.y1 > g.y0) || g.columns < 2 || g.rows < 2 ||
        g.columns > kMaxHeightMapSide || g.rows > kMaxHeightMapSide || !(g.feed > 0) ||
        !(g.clearance > 0) || !(g.depth >= 0)) {
        m.log.say({"Výšková mapa potřebuje plochu, 2 až 1000 sloupců i řádků, posuv a přejezd "
                   "větší než 0",
                   "A height map needs an area, 2 to 1000 columns and rows, and a feed and a "
                   "clearance above 0"},
                  true, true);
        return false;
    }
    settings_ = g;
    MachinePosition& p = m.position;
    origin_[0] = p.relOriginX.load(), origin_[1] = p.relOriginY.load();
    origin_[2] = p.relOriginZ.load(), originSet_ = p.relOriginSet.load();
    if (!originSet_) SetOriginOverMaterial(m);
    // The soft limits would shorten the moves to a point beyond the travel,
    // and its height would be measured elsewhere.
    const int64_t corners[2][2] = {{int64_t{p.relOriginX.load()} + MmToSteps(g.x0, s.mmPerStepX),
                                    int64_t{p.relOriginX.load()} + MmToSteps(g.x1, s.mmPerStepX)},
                                   {int64_t{p.relOriginY.load()} + MmToSteps(g.y0, s.mmPerStepY),
                                    int64_t{p.relOriginY.load()} + MmToSteps(g.y1, s.mmPerStepY)}};
    for (int a = 0; a < 2 && s.softLimits; ++a) {
        if (corners[a][0] >= 0 && corners[a][1] <= TravelSteps(s, a)) continue;
        SayFormatted(m.log,
                     {"Plocha výškové mapy přesahuje dráhu osy %c",
                      "The height map's area leaves "
                      "the %c axis's travel"},
                     true, true, "XY"[a]);
        end(State::kIdle);
        return false;
    }
    map_ = HeightMap{};
    map_.relativeOriginX = p.relOriginX.load() * double{s.mmPerStepX};
    map_.relativeOriginY = p.relOriginY.load() * double{s.mmPerStepY};
    map_.originX = g.x0, map_.originY = g.y0;
    map_.spacingX = (g.x1 - g.x0) / (g.columns - 1);
    map_.spacingY = (g.y1 - g.y0) / (g.rows - 1);
    map_.columns = g.columns, map_.rows = g.rows;
    map_.heights.assign(static_cast<size_t>(g.columns) * g.rows, 0);
    points_ = {{0, 0, -1, -1}};
    for (int r = 0; r < g.rows; ++r) {
        for (int i = 0; i < g.columns; ++i) {
            const int c = r % 2 ? g.columns - 1 - i : i;
            points_.push_back({MmToSteps(map_.pointX(c), s.mmPerStepX),
                               MmToSteps(map_.pointY(r), s.mmPerStepY), c, r});
        }
    }
    done_ = 0;
    queued_ = false;
    resets_ = m.buffer.resetRequests();
    startedAt_ = pointsEndedAt_ = m.timing.clock->now();
    state_ = State::kRunning;
    return true;
}

void GridProbe::step() {
    Machine& m = m_;
    if (!running()) return;
    const bool reset = m.buffer.resetRequests() != resets_;
    if (reset || m.signals.estopActive.load()) {
        // The stop holds the executor; what it had queued must never run
        // after the release.
        if (!reset) RequestBufferReset(m);
        m.log.say({"Měření výškové mapy bylo přerušeno, mapa nevznikla",
                   "Height map probing was stopped, no map was made"},
                  true, false);
        return end(State::kStopped);
    }
    if (!queued_) return queuePoint();
    if (m.buffer.queued() > 0 || !m.executor.executorIdle.load()) return;
    finishPoint();
}

void GridProbe::queuePoint() {
    Machine& m = m_;
    const MachineSettings& s = m.settings;
    const MachinePosition& p = m.position;
    if (m.buffer.freeSlots() < kMovesPerPoint) {
        m.log.say({"Pro měření výškové mapy není v zásobníku místo",
                   "There is no room in the buffer for probing the height map"},
                  true, true);
        return end(State::kStopped);
    }
    const Point& point = points_[done_];
    const int32_t zPeriod = PeriodUs(s.moveSpeedZ, s.mmPerStepZ);
    const int32_t clearance = MmToSteps(settings_.clearance, s.mmPerStepZ);
    int32_t z = p.plannedZ.load();
    if (done_ > 0) {
        // At least the clearance above the last touch, wherever the surface goes.
        const int32_t rise = std::min(surfaceZ_, z) - clearance - z;
        if (rise < 0) AppendCommand(m, 0, 0, rise, zPeriod, 1, 0, 0, 0, 0);
        z = p.plannedZ.load();
    }
    const int64_t dx = int64_t{p.relOriginX.load()} + point.x - p.plannedX.load();
    const int64_t dy = int64_t{p.relOriginY.load()} + point.y - p.plannedY.load();
    const float rate =
        LowestNonZero(m.log, s.moveSpeedX / s.mmPerStepX, s.moveSpeedY / s.mmPerStepY, 0);
    if (dx != 0 || dy != 0)
        AppendCommand(m, static_cast<int32_t>(dx), static_cast<int32_t>(dy), 0, PeriodUs(rate, 1.0),
                      1, 0, 0, 0, 0);
    const int32_t bottom =
        done_ == 0 ? TravelSteps(s, 2) : surfaceZ_ + MmToSteps(settings_.depth, s.mmPerStepZ);
    AppendCommand(m, 0, 0, std::max(bottom - z, 1), PeriodUs(settings_.feed, s.mmPerStepZ), 0, 0, 1,
                  0, 0);
    queued_ = true;
}

void GridProbe::finishPoint() {
    Machine& m = m_;
    const MachineSettings& s = m.settings;
    MachinePosition& p = m.position;
    // The probe's answer moves the relative origin to the tool (the tool
    // probe's way): the run keeps its own.
    p.relOriginX = MmToSteps(map_.relativeOriginX, s.mmPerStepX);
    p.relOriginY = MmToSteps(map_.relativeOriginY, s.mmPerStepY);
    const Point& point = points_[done_];
    if (!m.signals.zSensor.load()) {
        if (done_ == 0)
            SayFormatted(m.log,
                         {"Sonda se v relativním začátku nedotkla povrchu: měření výškové mapy "
                          "ukončeno",
                          "The probe did not touch the surface at the relative origin: height map "
                          "probing ended"},
                         true, true);
        else
            SayFormatted(m.log,
                         {"Sonda se nedotkla povrchu v bodě sloupec %d, řádek %d (X %.3f Y %.3f "
                          "mm) do hloubky %.3f mm: měření výškové mapy ukončeno",
                          "The probe did not touch the surface at column %d, row %d (X %.3f Y "
                          "%.3f mm) within %.3f mm: height map probing ended"},
                         true, true, point.column + 1, point.row + 1, map_.pointX(point.column),
                         map_.pointY(point.row), settings_.depth);
        return end(State::kFailed);
    }
    const int32_t z = p.absZ.load();
    if (done_ == 0)
        surfaceZ_ = z;
    else
        // At the file's precision, so that the map kept is the map saved.
        map_.at(point.column, point.row) =
            std::round((surfaceZ_ - z) * double{s.mmPerStepZ} * 1e4) / 1e4;
    ++done_;
    pointsEndedAt_ = m.timing.clock->now();
    queued_ = false;
    if (done_ < pointsTotal()) return queuePoint();
    AppendCommand(m, 0, 0, surfaceZ_ - MmToSteps(settings_.clearance, s.mmPerStepZ) - z,
                  PeriodUs(s.moveSpeedZ, s.mmPerStepZ), 1, 0, 0, 0, 0);
    p.relOriginZ = surfaceZ_;
    p.relOriginSet = 1;
    const auto [low, high] = std::minmax_element(map_.heights.begin(), map_.heights.end());
    SayFormatted(m.log,
                 {"Výšková mapa změřena: %d bodů, výšky %.3f až %.3f mm",
                  "Height map probed: %d points, heights %.3f to %.3f mm"},
                 true, false, pointsTotal() - 1, *low, *high);
    state_ = State::kDone;
}

void GridProbe::end(State state) {
    state_ = state;
    MachinePosition& p = m_.position;
    p.relOriginX = origin_[0], p.relOriginY = origin_[1], p.relOriginZ = origin_[2];
    p.relOriginSet = originSet_;
}

double GridProbe::secondsLeft() const {
    if (done_ == 0 || !running()) return 0;
    const double elapsed = static_cast<double>(pointsEndedAt_ - startedAt_) /
                           static_cast<double>(m_.timing.clock->frequency());
    return elapsed / done_ * (pointsTotal() - done_);
}

}  // namespace korvex
