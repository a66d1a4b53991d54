#include "vector/vector_job.h"

#include <algorithm>
#include <cmath>

#include "log/event_log.h"
#include "motion/job_sink.h"
#include "motion/machine.h"
#include "motion/rounding.h"
#include "vector/model_geometry.h"

namespace korvex {

void SetRepeatSpacing(VectorJobRepeat& repeat, float spacing, const MachineSettings& settings) {
    repeat.spacing = spacing < 1 ? 0 : spacing;
    repeat.spacingXSteps = MmToSteps(repeat.spacing, settings.mmPerStepX);
    repeat.spacingYSteps = MmToSteps(repeat.spacing, settings.mmPerStepY);
}

LayerPasses PassesOf(const PenLayer& layer, const MachineSettings& settings) {
    const double d = layer.depth, p = layer.passDepth;
    if (!(p > 0) || !(d > 0)) return {};
    LayerPasses passes;
    passes.finalDepth = MmToSteps(d, settings.mmPerStepZ);
    passes.passDepth = p;
    passes.mmPerStep = settings.mmPerStepZ;
    if (passes.raised()) {
        passes.count = std::max(passes.finalDepth, 1);
        return passes;
    }
    // Far beyond any buffer, and still a safe conversion.
    constexpr double kMostPasses = 1e15;
    const int64_t q = static_cast<int64_t>(std::min(d / p, kMostPasses));
    // A remainder within float noise of the typed values (1.2 over 0.4) is
    // no further pass: one would cut the layer again at the same depth.
    const double remainder = d - static_cast<double>(q) * p;
    passes.count = std::max<int64_t>(remainder <= p * 1e-6 ? q : q + 1, 1);
    // Nor is a last pass that the rounding leaves at the depth already reached.
    if (passes.count > 1 && passes.depthAfter(passes.count - 1) >= passes.finalDepth)
        --passes.count;
    return passes;
}

int32_t LayerPasses::depthAfter(int64_t k) const {
    if (k >= count) return finalDepth;
    if (raised()) return static_cast<int32_t>(std::min<int64_t>(k, finalDepth));
    return std::min(MmToSteps(static_cast<double>(k) * passDepth, mmPerStep), finalDepth);
}

namespace {

// The step period for `x` and `y` mm/s with the X and Y step sizes: the
// slower of the two step rates sets it.
int32_t PlanarPeriod(Machine& m, float x, float y) {
    const MachineSettings& s = m.settings;
    return PeriodUs(LowestNonZero(m.log, x / s.mmPerStepX, y / s.mmPerStepY, 0), 1.0);
}

int32_t SafeSteps(const MachineSettings& s) {
    return MmToSteps(s.safeHeight, s.mmPerStepZ);
}

// The moves of a vector job, in its periods, into a sink.
class MoveWriter {
  public:
    MoveWriter(Machine& m, JobSink& sink)
        : m_(m),
          sink_(sink),
          travelPeriod_(PlanarPeriod(m, m.settings.moveSpeedX, m.settings.moveSpeedY)),
          zPeriod_(PeriodUs(m.settings.moveSpeedZ, m.settings.mmPerStepZ)),
          plungePeriod_(PeriodUs(m.settings.plungeSpeed, m.settings.mmPerStepZ)),
          safeHeight_(SafeSteps(m.settings)) {}

    Machine& machine() const { return m_; }
    JobSink& sink() const { return sink_; }
    int32_t safeHeight() const { return safeHeight_; }
    int32_t plungePeriod() const { return plungePeriod_; }
    int32_t zPeriod() const { return zPeriod_; }

    void travel(int64_t dx, int64_t dy) { sink_.move(dx, dy, 0, travelPeriod_, 1, 0, 0); }
    void lift(int64_t dz) { sink_.move(0, 0, -dz, zPeriod_, 1, 0, 0); }
    void plunge(int32_t depth) { sink_.move(0, 0, depth, plungePeriod_, 0, 1, 0); }
    void cut(int64_t dx, int64_t dy, int32_t periodUs) { sink_.move(dx, dy, 0, periodUs, 0, 0, 1); }
    void descend(int32_t periodUs) { sink_.move(0, 0, safeHeight_, periodUs, 1, 0, 0); }

  private:
    Machine& m_;
    JobSink& sink_;
    int32_t travelPeriod_, zPeriod_, plungePeriod_, safeHeight_;
};

// The tool's X/Y position relative to the job's start.
struct Position {
    int32_t x = 0, y = 0;
    bool at(const VectorPoint& p) const { return p.x == x && p.y == y; }
};

void TravelTo(MoveWriter& w, Position& at, const VectorPoint& p) {
    w.travel(int64_t{p.x} - at.x, int64_t{p.y} - at.y);
    at = {p.x, p.y};
}

void CutAlong(MoveWriter& w, Position& at, const VectorObject& object, int32_t periodUs) {
    for (size_t i = 1; i < object.points.size(); ++i) {
        const VectorPoint& p = object.points[i];
        w.cut(int64_t{p.x} - at.x, int64_t{p.y} - at.y, periodUs);
        at = {p.x, p.y};
    }
}

// The layer's objects that have points, in cutting order.
std::vector<const VectorObject*> ObjectsToCut(const VectorModel& model, const PenLayer& layer) {
    std::vector<const VectorObject*> objects;
    objects.reserve(layer.objectOrder.size());
    for (int32_t index : layer.objectOrder)
        if (!model.objects[index].points.empty()) objects.push_back(&model.objects[index]);
    return objects;
}

// Calls `body(layer, passes, cutting period)` for every layer in cut order.
template <typename Body>
void ForEachLayer(Machine& m, const VectorModel& model, Body body) {
    for (int i = 0; i < model.cutOrder.count; ++i) {
        const int index = model.cutOrder.slots[i];
        if (index < 0 || index >= model.penCount) continue;
        const PenLayer& layer = model.pens[index];
        body(layer, PassesOf(layer, m.settings), PlanarPeriod(m, layer.feed, layer.feed));
    }
}

// Says once per job which layers cut one step per pass instead of their
// thinner pass depth.
void ReportRaisedPasses(Machine& m, const VectorModel& model) {
    for (int i = 0; i < model.cutOrder.count; ++i) {
        const int index = model.cutOrder.slots[i];
        if (index < 0 || index >= model.penCount) continue;
        const LayerPasses passes = PassesOf(model.pens[index], m.settings);
        if (passes.count == 0 || !passes.raised()) continue;
        SayFormatted(m.log,
                     {"vrstva %d: úběr %.3f mm je menší než krok osy Z, každý průchod půjde "
                      "o jeden krok (%.4f mm) hlouběji",
                      "layer %d: pass depth %.3f mm is below one Z step, every pass goes one "
                      "step (%.4f mm) deeper"},
                     true, false, model.pens[index].pen, passes.passDepth, passes.mmPerStep);
    }
}

// The deepest level any layer in cut order reaches, Z steps.
int32_t DeepestCut(Machine& m, const VectorModel& model) {
    int32_t deepest = 0;
    ForEachLayer(m, model, [&](const PenLayer&, const LayerPasses& passes, int32_t) {
        if (passes.count > 0) deepest = std::max(deepest, passes.finalDepth);
    });
    return deepest;
}

// Layer by layer; one copy of the job, from its start and back there.
void LayersByPass(MoveWriter& w, const VectorModel& model) {
    Position at;
    ForEachLayer(
        w.machine(), model, [&](const PenLayer& layer, const LayerPasses& passes, int32_t cut) {
            const auto objects = ObjectsToCut(model, layer);
            auto pass = [&](int64_t k) {
                const int32_t depth = passes.depthAfter(k + 1);
                bool plunge = true;
                for (size_t j = 0; j < objects.size(); ++j) {
                    TravelTo(w, at, objects[j]->points.front());
                    if (plunge) {
                        w.descend(w.zPeriod());
                        w.plunge(depth);
                    }
                    CutAlong(w, at, *objects[j], cut);
                    // Stay down when the next object starts where this one ends.
                    plunge = j + 1 == objects.size() || !at.at(objects[j + 1]->points.front());
                    if (plunge) w.lift(int64_t{w.safeHeight()} + depth);
                }
            };
            if (passes.count == 0) return;
            pass(0);
            // Every pass after the first starts where the one before ended and
            // makes the same moves; the first may start elsewhere.
            w.sink().times(passes.count - 1, [&](int64_t k) { pass(k + 1); });
        });
    w.travel(-int64_t{at.x}, -int64_t{at.y});
}

// Object by object; one copy of the job, from its start and back there.
void ObjectsOneWay(MoveWriter& w, const VectorModel& model) {
    Position at;
    ForEachLayer(w.machine(), model,
                 [&](const PenLayer& layer, const LayerPasses& passes, int32_t cut) {
                     for (const VectorObject* object : ObjectsToCut(model, layer)) {
                         const VectorPoint& start = object->points.front();
                         const bool closed = object->points.back() == start;
                         TravelTo(w, at, start);
                         w.descend(w.plungePeriod());
                         // The passes before the last make the same moves each.
                         w.sink().repeat(passes.count, [&](int64_t k) {
                             const int32_t depth = passes.depthAfter(k + 1);
                             const bool more = k + 1 < passes.count;
                             w.plunge(depth);
                             CutAlong(w, at, *object, cut);
                             if (more && closed) {
                                 w.lift(depth);
                             } else {
                                 w.lift(int64_t{w.safeHeight()} + depth);
                                 if (more) {
                                     TravelTo(w, at, start);
                                     w.descend(w.plungePeriod());
                                 }
                             }
                         });
                     }
                 });
    w.travel(-int64_t{at.x}, -int64_t{at.y});
}

int64_t GenerateCopy(Machine& m, const VectorModel& model, int countOnly,
                     void (*strategy)(MoveWriter&, const VectorModel&)) {
    if (!RelativeOriginSet(m)) return 0;
    JobSink sink(m, countOnly != 0, SafeSteps(m.settings));
    MoveWriter w(m, sink);
    strategy(w, model);
    return sink.count();
}

}  // namespace

int64_t generateLayersByPass(Machine& m, const VectorModel& model, int countOnly) {
    return GenerateCopy(m, model, countOnly, LayersByPass);
}

int64_t generateObjectsOneWay(Machine& m, const VectorModel& model, int countOnly) {
    return GenerateCopy(m, model, countOnly, ObjectsOneWay);
}

int64_t generateVectorJob(Machine& m, const VectorModel& model, const VectorJobRepeat& repeat,
                          int countOnly) {
    // Without an origin even the moves between copies would go out.
    if (!RelativeOriginSet(m)) return 0;
    auto strategy = model.pens[0].oneWay ? ObjectsOneWay : LayersByPass;
    const int64_t columns = std::max(1, repeat.countX), rows = std::max(1, repeat.countY);
    const int64_t across = int64_t{model.width} + repeat.spacingXSteps;
    const int64_t down = int64_t{model.height} + repeat.spacingYSteps;
    const MachinePosition& p = m.position;
    const int64_t x0 = int64_t{p.plannedX.load()} - p.relOriginX.load();
    const int64_t y0 = int64_t{p.plannedY.load()} - p.relOriginY.load();
    if (!SurfaceMapFits(m, x0, y0, x0 + model.width + across * (columns - 1),
                        y0 + model.height + down * (rows - 1)))
        return 0;
    JobSink sink(m, countOnly != 0, SafeSteps(m.settings));
    sink.followSurface();
    if (!sink.start(DeepestCut(m, model))) return 0;
    if (!countOnly) ReportRaisedPasses(m, model);
    MoveWriter w(m, sink);
    // Each row moves to its next copies and back to its start, and each row
    // but the last down to the next, which the final return undoes.
    sink.repeat(rows, [&](int64_t r) {
        sink.repeat(columns, [&](int64_t i) {
            strategy(w, model);
            if (i < columns - 1) w.travel(across, 0);
        });
        w.travel(-across * (columns - 1), 0);
        if (r < rows - 1) w.travel(0, down);
    });
    w.travel(0, -down * (rows - 1));
    return sink.count();
}

}  // namespace korvex
