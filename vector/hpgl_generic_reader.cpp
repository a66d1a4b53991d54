#include "vector/hpgl_generic_reader.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <iterator>
#include <numbers>
#include <vector>

#include "vector/arc_flattening.h"
#include "vector/hpgl_generic_scanner.h"
#include "vector/plotter_units.h"

namespace korvex {

namespace {

struct Point {
    double x = 0, y = 0;
};

constexpr int kObjectChunk = 20;
constexpr int kPointChunk = 50;
constexpr double kMaxPen = kPenTableSize;

// P1 and P2 when no IP has set them. A drawing device would use its
// hard-clip limits; without one any fixed square keeps SC files in scale.
constexpr Point kDefaultP1{0, 0}, kDefaultP2{10000, 10000};

// User units to plotter units: plotter = user * scale + offset per axis.
struct UnitMap {
    Point scale{1, 1}, offset{0, 0};

    Point toPlotter(Point u) const { return {u.x * scale.x + offset.x, u.y * scale.y + offset.y}; }
    Point toUser(Point p) const { return {(p.x - offset.x) / scale.x, (p.y - offset.y) / scale.y}; }
    Point delta(Point d) const { return {d.x * scale.x, d.y * scale.y}; }
};

// One axis of SC: user [low, high] spread over plotter [p1, p2].
void MapAxis(double p1, double p2, double low, double high, double& scale, double& offset) {
    scale = (p2 - p1) / (high - low);
    offset = p1 - low * scale;
}

// SC xmin,xmax,ymin,ymax[,type[,left,bottom]] over the window P1..P2: type 0
// stretches each axis over the window, type 1 keeps one scale for both,
// placed by left and bottom percent of the spare room, type 2 gives plotter
// units per user unit (xmin,xfactor,ymin,yfactor). Reversed bounds mirror
// the axis.
UnitMap ScaleMap(const std::vector<double>& s, Point p1, Point p2) {
    UnitMap map;
    // Compared as a number: the file may give any value, even one past int.
    const double type = s.size() >= 5 ? std::trunc(s[4]) : 0;
    if (type == 2) {
        map.scale = {s[1], s[3]};
        map.offset = {p1.x - s[0] * s[1], p1.y - s[2] * s[3]};
        return map;
    }
    MapAxis(p1.x, p2.x, s[0], s[1], map.scale.x, map.offset.x);
    MapAxis(p1.y, p2.y, s[2], s[3], map.scale.y, map.offset.y);
    if (type != 1) return map;
    const double common = std::min(std::abs(map.scale.x), std::abs(map.scale.y));
    const double left = s.size() >= 6 ? s[5] / 100 : 0.5, bottom = s.size() >= 7 ? s[6] / 100 : 0.5;
    auto fit = [common](double from, double to, double low, double high, double share,
                        double& scale, double& offset) {
        scale = std::copysign(common, scale);
        const double spare = std::abs(to - from) - common * std::abs(high - low);
        offset = from + std::copysign(spare * share, to - from) - low * scale;
    };
    fit(p1.x, p2.x, s[0], s[1], left, map.scale.x, map.offset.x);
    fit(p1.y, p2.y, s[2], s[3], bottom, map.scale.y, map.offset.y);
    return map;
}

class GenericPlot {
  public:
    GenericPlot(VectorModel& model, const MachineSettings& settings)
        : model_(model),
          unitsPerMm_(PlotterUnitsPerMm(settings)),
          stepX_(settings.mmPerStepX),
          stepY_(settings.mmPerStepY),
          tolerance_(StepLengthMm(settings) * unitsPerMm_) {}

    GenericHpglResult run(std::string_view data);

  private:
    bool execute(const HpglGenericCommand& c);
    void initialise();
    void setDefaults();
    bool selectPen(const std::vector<double>& params);
    void plot(const std::vector<double>& params);
    void arc(Point centreUser, double sweepDegrees);
    void circle(double radius);
    void rectangle(Point cornerUser);
    void setInputWindow(const std::vector<double>& params);
    void setScale(const std::vector<double>& params);
    void updateMap();
    void countIgnored(const HpglGenericCommand& c);

    void endPolyline() { open_ = false; }
    void moveTo(Point p) {
        endPolyline();
        at_ = p;
    }
    void lineTo(Point p);
    VectorPoint toSteps(Point p) const {
        return {ToSteps(p.x / unitsPerMm_ / stepX_), ToSteps(p.y / unitsPerMm_ / stepY_), 0};
    }
    Point userPosition() const { return map_.toUser(at_); }
    double userTolerance() const {
        return tolerance_ / std::min(std::abs(map_.scale.x), std::abs(map_.scale.y));
    }

    VectorModel& model_;
    const double unitsPerMm_, stepX_, stepY_, tolerance_;
    GenericHpglResult result_;

    int32_t pen_ = 1;
    bool penDown_ = false, relative_ = false, open_ = false;
    Point at_;  // plotter units
    Point p1_ = kDefaultP1, p2_ = kDefaultP2;
    std::vector<double> scaleParams_;  // the SC in force; empty when scaling is off
    UnitMap map_;

    std::array<int32_t, 26 * 26> ignoredCount_{};
    std::vector<int> ignoredOrder_;
};

GenericHpglResult GenericPlot::run(std::string_view data) {
    HpglGenericScanner scanner(data);
    HpglGenericCommand command;
    while (scanner.next(command))
        if (!execute(command)) return result_;
    for (int code : ignoredOrder_) {
        if (!result_.ignored.empty()) result_.ignored += ", ";
        result_.ignored +=
            {static_cast<char>('A' + code / 26), static_cast<char>('A' + code % 26), ' '};
        result_.ignored += std::to_string(ignoredCount_[code]);
    }
    if (model_.objects.empty()) {
        result_.outcome = GenericHpglResult::kNothingDrawn;
        return result_;
    }
    // The documented chunks, for the capacities the log and the dialog report.
    const int objects = model_.objectCount() + 1;
    model_.objectCapacity = (objects + kObjectChunk - 1) / kObjectChunk * kObjectChunk;
    for (VectorObject& object : model_.objects)
        object.pointCapacity = (object.pointCount() + kPointChunk - 1) / kPointChunk * kPointChunk;
    return result_;
}

bool GenericPlot::execute(const HpglGenericCommand& c) {
    const std::vector<double>& p = c.params;
    if (c.is("PU") || c.is("PD")) {
        penDown_ = c.is("PD");
        if (!penDown_) endPolyline();
        plot(p);
    } else if (c.is("PA") || c.is("PR")) {
        relative_ = c.is("PR");
        plot(p);
    } else if (c.is("SP")) {
        return selectPen(p);
    } else if (c.is("IN")) {
        initialise();
    } else if (c.is("DF")) {
        setDefaults();
    } else if (c.is("CI") && !p.empty()) {
        circle(p[0]);
    } else if ((c.is("AA") || c.is("AR")) && p.size() >= 3) {
        const Point centre{p[0], p[1]};
        if (c.is("AA")) {
            arc(centre, p[2]);
        } else {
            const Point from = userPosition();
            arc({from.x + centre.x, from.y + centre.y}, p[2]);
        }
    } else if ((c.is("EA") || c.is("RA")) && p.size() >= 2) {
        rectangle({p[0], p[1]});
    } else if ((c.is("ER") || c.is("RR")) && p.size() >= 2) {
        const Point from = userPosition();
        rectangle({from.x + p[0], from.y + p[1]});
    } else if (c.is("PE") || c.is("BZ") || c.is("BR")) {
        result_.outcome = GenericHpglResult::kUndrawnGeometry;
        result_.command = c.name;
        return false;
    } else if (c.is("IP")) {
        setInputWindow(p);
    } else if (c.is("SC")) {
        setScale(p);
    } else {
        countIgnored(c);
    }
    return true;
}

void GenericPlot::initialise() {
    setDefaults();
    penDown_ = false;
    endPolyline();
    at_ = {};
    p1_ = kDefaultP1;
    p2_ = kDefaultP2;
}

void GenericPlot::setDefaults() {
    relative_ = false;
    scaleParams_.clear();
    updateMap();
}

bool GenericPlot::selectPen(const std::vector<double>& params) {
    const double pen = params.empty() ? 0 : params[0];
    if (!(pen >= 0 && pen <= kMaxPen)) {
        result_.outcome = GenericHpglResult::kPenOutOfRange;
        result_.pen = static_cast<int32_t>(std::clamp(pen, -2e9, 2e9));
        return false;
    }
    endPolyline();
    pen_ = static_cast<int32_t>(pen);
    return true;
}

// Every pair a move, drawn while the pen is down; an odd last number is
// ignored, as a plotter does.
void GenericPlot::plot(const std::vector<double>& params) {
    for (size_t i = 0; i + 1 < params.size(); i += 2) {
        const Point given{params[i], params[i + 1]};
        Point to;
        if (relative_) {
            const Point d = map_.delta(given);
            to = {at_.x + d.x, at_.y + d.y};
        } else {
            to = map_.toPlotter(given);
        }
        if (penDown_)
            lineTo(to);
        else
            moveTo(to);
    }
}

void GenericPlot::lineTo(Point p) {
    if (pen_ == 0) {
        moveTo(p);
        return;
    }
    if (!open_) {
        VectorObject& object = model_.objects.emplace_back();
        object.pen = pen_;
        object.points.push_back(toSteps(at_));
        open_ = true;
    }
    model_.objects.back().points.push_back(toSteps(p));
    at_ = p;
}

// From the current position about `centreUser`, counter-clockwise for a
// positive sweep in user units; drawn only while the pen is down.
void GenericPlot::arc(Point centreUser, double sweepDegrees) {
    const Point from = userPosition();
    const double radius = std::hypot(from.x - centreUser.x, from.y - centreUser.y);
    const double start = std::atan2(from.y - centreUser.y, from.x - centreUser.x);
    const double sweep = std::clamp(sweepDegrees, -360.0, 360.0) * std::numbers::pi / 180;
    const int32_t chords = ArcChordCount(radius, sweep, userTolerance());
    for (int32_t i = 1; i <= chords; ++i) {
        const double a = start + sweep * i / chords;
        const Point to = map_.toPlotter(
            {centreUser.x + radius * std::cos(a), centreUser.y + radius * std::sin(a)});
        if (penDown_)
            lineTo(to);
        else if (i == chords)
            moveTo(to);
    }
}

// Drawn whatever the pen state, starting at angle 0; the pen comes back to
// the centre raised.
void GenericPlot::circle(double radius) {
    const Point centre = userPosition(), back = at_;
    moveTo(map_.toPlotter({centre.x + radius, centre.y}));
    const int32_t chords = ArcChordCount(radius, 2 * std::numbers::pi, userTolerance());
    for (int32_t i = 1; i <= chords; ++i) {
        const double a = 2 * std::numbers::pi * i / chords;
        lineTo(map_.toPlotter({centre.x + radius * std::cos(a), centre.y + radius * std::sin(a)}));
    }
    moveTo(back);
}

// The outline between the current position and `cornerUser`, drawn whatever
// the pen state; the position does not change.
void GenericPlot::rectangle(Point cornerUser) {
    const Point from = userPosition(), back = at_;
    endPolyline();
    for (Point corner :
         {Point{cornerUser.x, from.y}, cornerUser, Point{from.x, cornerUser.y}, from})
        lineTo(map_.toPlotter(corner));
    moveTo(back);
}

void GenericPlot::setInputWindow(const std::vector<double>& params) {
    if (params.size() >= 2) {
        const Point size{p2_.x - p1_.x, p2_.y - p1_.y};
        p1_ = {params[0], params[1]};
        p2_ = params.size() >= 4 ? Point{params[2], params[3]}
                                 : Point{p1_.x + size.x, p1_.y + size.y};
    } else {
        p1_ = kDefaultP1;
        p2_ = kDefaultP2;
    }
    updateMap();
}

void GenericPlot::setScale(const std::vector<double>& params) {
    scaleParams_.clear();
    if (params.size() >= 4) scaleParams_ = params;
    updateMap();
}

void GenericPlot::updateMap() {
    map_ = scaleParams_.empty() ? UnitMap{} : ScaleMap(scaleParams_, p1_, p2_);
    // An empty user range or input window (SC0,0,0,0; IP0,0,0,0) would fold
    // the drawing onto one point and divide by zero on the way back: plotter
    // units stay in force instead, as a plotter ignores such a scaling.
    const double values[] = {map_.scale.x, map_.scale.y, map_.offset.x, map_.offset.y};
    const bool usable = std::all_of(std::begin(values), std::end(values),
                                    [](double v) { return std::isfinite(v); }) &&
                        map_.scale.x != 0 && map_.scale.y != 0;
    if (!usable) map_ = UnitMap{};
}

void GenericPlot::countIgnored(const HpglGenericCommand& c) {
    const int code = (c.name[0] - 'A') * 26 + (c.name[1] - 'A');
    if (ignoredCount_[code]++ == 0) ignoredOrder_.push_back(code);
}

}  // namespace

GenericHpglResult ReadGenericHpgl(std::string_view data, VectorModel& model,
                                  const MachineSettings& settings) {
    return GenericPlot(model, settings).run(data);
}

}  // namespace korvex
