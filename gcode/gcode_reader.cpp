#include <algorithm>
#include <array>
#include <bit>
#include <cctype>
#include <charconv>
#include <cmath>
#include <numbers>

#include "gcode/gcode_program.h"
#include "motion/move_time.h"
#include "motion/rounding.h"
#include "settings/machine_settings.h"
#include "vector/arc_flattening.h"

namespace korvex {

namespace {

constexpr double kTurn = 2 * std::numbers::pi;
// Positions beyond 2^30 steps would overflow a move between two of them.
constexpr double kMaxSteps = double(1 << 30);
// An arc's end may miss its circle by this much, as other interpreters allow.
constexpr double kArcToleranceMm = 0.002, kArcToleranceRatio = 0.001;

constexpr Text kUnsupported{"řádek %lld: slovo %s tento program neprovede",
                            "line %lld: the word %s is not supported"};
constexpr Text kBadWord{"řádek %lld: chybné slovo %s", "line %lld: malformed word %s"};
constexpr Text kUnclosedComment{"řádek %lld: neukončená poznámka %s",
                                "line %lld: comment not closed %s"};
constexpr Text kTwice{"řádek %lld: slovo %s je na řádku dvakrát",
                      "line %lld: the word %s appears twice on the line"};
constexpr Text kNoFeed{"řádek %lld: pohyb %s bez rychlosti posuvu F",
                       "line %lld: the move %s has no feed rate F"};
constexpr Text kOutOfRange{"řádek %lld: %s je mimo rozsah stroje",
                           "line %lld: %s leaves the machine's range"};
constexpr Text kBadArc{"řádek %lld: oblouk %s nelze sestrojit",
                       "line %lld: the arc %s cannot be constructed"};
constexpr Text kUnused{"řádek %lld: slovo %s nemá na řádku význam",
                       "line %lld: the word %s has no use on the line"};
constexpr Text kSameGroup{"řádek %lld: slova %s patří do jedné modální skupiny",
                          "line %lld: the words %s belong to one modal group"};
constexpr Text kNegativeFeed{"řádek %lld: rychlost posuvu %s je záporná",
                             "line %lld: the feed rate %s is negative"};
constexpr Text kCycleLacks{"řádek %lld: vrtacímu cyklu chybí slovo %s",
                           "line %lld: the drilling cycle lacks the word %s"};
constexpr Text kCycleDepth{"řádek %lld: cyklus %s má rovinu R pod hloubkou Z",
                           "line %lld: the cycle %s has its R plane below its depth Z"};
constexpr Text kCyclePlane{"řádek %lld: cyklus %s vrtá jen v rovině G17",
                           "line %lld: the cycle %s drills in the G17 plane only"};
constexpr Text kNotPositive{"řádek %lld: slovo %s musí být kladné",
                            "line %lld: the word %s must be positive"};
constexpr Text kAxesTwice{"řádek %lld: slova %s obě užívají souřadnice",
                          "line %lld: the words %s both use the axis words"};
constexpr Text kTooLong{"řádek %lld: program má víc pohybů, než pojme zásobník (%s)",
                        "line %lld: the program has more moves than the buffer holds (%s)"};

bool IsSpace(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\f' || c == '\v';
}

char Upper(char c) {
    return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c;
}

struct Word {
    char letter;
    double value;
    std::string_view text;  // as written, number included
};

// A word's number as it is read, for the common short decimals: their digits
// and a power of ten are both exact doubles, so one division rounds the
// value correctly, as from_chars does, at a fraction of its cost.
class Decimal {
  public:
    void add(char c) {
        if (c == '-') {
            negative_ = true;
        } else if (c == '.') {
            ++dots_;
        } else if (c >= '0' && c <= '9') {
            digits_ = digits_ * 10 + static_cast<uint64_t>(c - '0');
            ++count_;
            decimals_ += dots_ > 0;
        }
    }
    // False when the number is not one of them (or not a number at all).
    bool exact(double& value) const {
        static constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                             1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                             1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        if (count_ == 0 || count_ > 19 || dots_ > 1 || digits_ > (uint64_t{1} << 53) ||
            decimals_ >= std::size(kPowers))
            return false;
        value = static_cast<double>(digits_) / kPowers[decimals_];
        if (negative_) value = -value;
        return true;
    }

  private:
    uint64_t digits_ = 0;
    size_t count_ = 0, decimals_ = 0, dots_ = 0;
    bool negative_ = false;
};

// The G or M code in tenths (G90.1 is 901); -1 when it has more decimals.
int Tenths(double v) {
    const double t = std::round(v * 10);
    if (std::abs(t - v * 10) > 1e-6 || t < 0 || t > 100000) return -1;
    return static_cast<int>(t);
}

// Text of the program for a message: control characters, a NUL above all,
// would cut or garble it, so they are shown by their code.
std::string Printable(std::string_view text) {
    std::string s;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        if (byte < 0x20 || byte == 0x7F)
            s += Format("<0x%02X>", byte);
        else
            s += c;
    }
    return s;
}

std::string WordText(const Word& w) {
    std::string s(w.text);
    std::transform(s.begin(), s.end(), s.begin(), Upper);
    return s;
}

// The G and M codes read, in tenths, with their modal groups: a line names
// at most one code of a group. Modes that change nothing on this machine
// (cutter compensation and tool length off, the first work offset, path
// blending, feed per minute, canned cycles off) and coolant, which this
// machine does not switch, are accepted.
struct Code {
    int tenths;
    int group;
};
// G80 has a group of its own: beside a motion word it leaves that word in
// force, as other interpreters do.
enum GGroup {
    kNonModal,
    kMotionGroup,
    kCancel,
    kPlane,
    kDistance,
    kArcDistance,
    kFeedMode,
    kUnits,
    kCutterCompensation,
    kToolLength,
    kWorkOffset,
    kPathMode,
    kRetractMode
};
// clang-format off
constexpr Code kKnownG[] = {
    {0, kMotionGroup}, {10, kMotionGroup}, {20, kMotionGroup}, {30, kMotionGroup},
    {40, kNonModal}, {170, kPlane}, {180, kPlane}, {190, kPlane}, {200, kUnits}, {210, kUnits},
    {400, kCutterCompensation}, {490, kToolLength}, {540, kWorkOffset}, {610, kPathMode},
    {611, kPathMode}, {640, kPathMode}, {800, kCancel}, {900, kDistance}, {901, kArcDistance},
    {910, kDistance}, {911, kArcDistance}, {940, kFeedMode}, {730, kMotionGroup},
    {810, kMotionGroup}, {820, kMotionGroup}, {830, kMotionGroup}, {980, kRetractMode},
    {990, kRetractMode}, {280, kNonModal}, {430, kToolLength}};
// clang-format on
enum MGroup { kStopping, kSpindle, kToolChange, kCoolant };
constexpr Code kKnownM[] = {{0, kStopping}, {10, kStopping}, {20, kStopping},   {30, kSpindle},
                            {40, kSpindle}, {50, kSpindle},  {60, kToolChange}, {70, kCoolant},
                            {80, kCoolant}, {90, kCoolant},  {300, kStopping}};

// A line's codes are a set of bits, one per known code; 0 for an unknown one.
template <size_t N>
constexpr uint32_t CodeBit(const Code (&known)[N], int code) {
    static_assert(N <= 32);
    for (size_t i = 0; i < N; ++i)
        if (known[i].tenths == code) return uint32_t{1} << i;
    return 0;
}
// For each code, the bits of its group's codes.
template <size_t N>
constexpr std::array<uint32_t, N> GroupBits(const Code (&known)[N]) {
    std::array<uint32_t, N> bits{};
    for (size_t i = 0; i < N; ++i)
        for (size_t j = 0; j < N; ++j)
            if (known[i].group == known[j].group) bits[i] |= uint32_t{1} << j;
    return bits;
}
constexpr auto kGroupOfG = GroupBits(kKnownG);
constexpr auto kGroupOfM = GroupBits(kKnownM);
consteval uint32_t G(int code) {
    const uint32_t bit = CodeBit(kKnownG, code);
    if (bit == 0) throw "not a known G code";
    return bit;
}
consteval uint32_t M(int code) {
    const uint32_t bit = CodeBit(kKnownM, code);
    if (bit == 0) throw "not a known M code";
    return bit;
}

enum class Motion {
    None,
    Rapid,
    Feed,
    Clockwise,
    CounterClockwise,
    Drill,
    DrillDwell,
    Peck,
    ChipBreak
};

const char* MotionName(Motion m) {
    switch (m) {
        case Motion::None:
            return "G80";
        case Motion::Rapid:
            return "G0";
        case Motion::Feed:
            return "G1";
        case Motion::Clockwise:
            return "G2";
        case Motion::CounterClockwise:
            return "G3";
        case Motion::Drill:
            return "G81";
        case Motion::DrillDwell:
            return "G82";
        case Motion::Peck:
            return "G83";
        case Motion::ChipBreak:
            return "G73";
    }
    return "";
}

bool IsCycle(Motion m) {
    return m >= Motion::Drill;
}

// How far above the last peck's depth G83 and G73 come back down, or back up,
// at rapid speed: 0.010 inch, in either unit, as other interpreters do.
constexpr double kPeckClearanceMm = 0.254;

class Reader {
  public:
    Reader(const MachineSettings& s, GcodePoint start, GcodePoint zero, size_t bytes)
        : s_(s), timer_(s) {
        // Room for more moves than CAM output makes of its text: the room
        // costs address space only until a move fills it, while growing
        // would copy the moves and touch twice the memory.
        const size_t guess = std::min(bytes / 8, kMaxGcodeMoves);
        program_.moves.reserve(guess);
        program_.moveLines.reserve(guess);
        step_ = {s.mmPerStepX, s.mmPerStepY, s.mmPerStepZ};
        at_ = {start.x, start.y, start.z};
        pos_ = {start.x * step_[0], start.y * step_[1], -start.z * step_[2]};
        zero_ = {zero.x * step_[0], zero.y * step_[1], -zero.z * step_[2]};
        program_.low = program_.high = program_.start = program_.end = start;
    }

    // False (with the refusal set) when the line is refused.
    bool line(std::string_view text) {
        ++program_.lines;
        if (ended_) return true;
        size_t i = 0;
        while (i < text.size() && IsSpace(text[i])) ++i;
        if (i < text.size() && (text[i] == '/' || text[i] == '%')) return true;
        words_.clear();
        while (i < text.size()) {
            const char c = text[i];
            if (IsSpace(c)) {
                ++i;
            } else if (c == ';') {
                break;
            } else if (c == '(') {
                const size_t close = text.find(')', i);
                if (close == std::string_view::npos)
                    return refuse(kUnclosedComment, Printable(text.substr(i, 16)));
                i = close + 1;
            } else if (!std::isalpha(static_cast<unsigned char>(c))) {
                return refuse(kUnsupported, Printable({&c, 1}));
            } else if (!word(text, i)) {
                return false;
            }
        }
        return words_.empty() || execute();
    }

    GcodeRead finish() {
        GcodeRead r;
        program_.end = {at_[0], at_[1], at_[2]};
        r.program = std::move(program_);
        return r;
    }
    GcodeRead refused() { return {std::nullopt, refusal_}; }

  private:
    bool refuse(Text text, std::string word) {
        refusal_ = {program_.lines, text, std::move(word)};
        return false;
    }

    // One letter and its number; spaces may stand anywhere in a word.
    bool word(std::string_view text, size_t& i) {
        const size_t begin = i;
        const char letter = Upper(text[i++]);
        char number[64];
        size_t n = 0, end = i;
        Decimal decimal;
        while (i < text.size()) {
            const char c = text[i];
            if (IsSpace(c)) {
                ++i;
                continue;
            }
            if (!((c >= '0' && c <= '9') || c == '.' || ((c == '-' || c == '+') && n == 0))) break;
            if (n == sizeof number) return refuse(kBadWord, std::string(text.substr(begin, 16)));
            number[n++] = c;
            decimal.add(c);
            end = ++i;
        }
        const Word bad{letter, 0, text.substr(begin, end - begin)};
        if (letter == 'O') return refuse(kUnsupported, WordText(bad));
        double value = 0;
        if (!decimal.exact(value)) {
            const char* first = number + (n > 0 && number[0] == '+' ? 1 : 0);
            const auto [last, ec] = std::from_chars(first, number + n, value);
            if (n == 0 || ec != std::errc() || last != number + n || !std::isfinite(value))
                return refuse(
                    i < text.size() && (text[i] == '#' || text[i] == '[') ? kUnsupported : kBadWord,
                    WordText(bad) + Printable(text.substr(i, 1)));
        }
        words_.push_back({letter, value, text.substr(begin, end - begin)});
        return true;
    }

    bool execute() {
        std::array<const Word*, 26> given{};
        uint32_t gs = 0, ms = 0;  // the line's codes, as bits of kKnownG and kKnownM
        for (const Word& w : words_) {
            if (w.letter == 'G' || w.letter == 'M') {
                const bool g = w.letter == 'G';
                const int code = Tenths(w.value);
                const uint32_t bit = g ? CodeBit(kKnownG, code) : CodeBit(kKnownM, code);
                if (bit == 0) return refuse(kUnsupported, WordText(w));
                uint32_t& codes = g ? gs : ms;
                const int index = std::countr_zero(bit);
                const uint32_t group = g ? kGroupOfG[index] : kGroupOfM[index];
                if (codes & group)
                    return refuse(kSameGroup, lineWords(w.letter, (codes | bit) & group));
                codes |= bit;
                continue;
            }
            if (w.letter != 'N' && given[w.letter - 'A']) return refuse(kTwice, WordText(w));
            given[w.letter - 'A'] = &w;
            if (std::string_view("NXYZIJKRFPSTQLH").find(w.letter) == std::string_view::npos)
                return refuse(kUnsupported, WordText(w));
        }
        auto has = [gs](uint32_t bit) { return (gs & bit) != 0; };
        auto hasM = [ms](uint32_t bit) { return (ms & bit) != 0; };

        if (const Word* f = given['F' - 'A']) {
            if (f->value < 0) return refuse(kNegativeFeed, WordText(*f));
            feed_ = f->value;
        }
        if (const Word* t = given['T' - 'A']) {
            if (!(t->value >= 0 && t->value <= 99999)) return refuse(kOutOfRange, WordText(*t));
            tool_ = static_cast<int32_t>(t->value);
        }
        // A tool change stops the spindle; the program starts it again.
        if (hasM(M(60))) {
            pause(tool_);
            spindle_ = 0;
        }
        if (hasM(M(30)) || hasM(M(40))) spindle_ = 1;
        if (hasM(M(50))) spindle_ = 0;
        const Word* p = given['P' - 'A'];
        if (has(G(40))) {
            if (!p) return refuse(kUnused, "G4");
            dwell();
        }
        if (has(G(170))) plane_ = 0;
        if (has(G(180))) plane_ = 1;
        if (has(G(190))) plane_ = 2;
        if (has(G(200))) inches_ = true;
        if (has(G(210))) inches_ = false;
        if (has(G(900))) absolute_ = true;
        if (has(G(910))) absolute_ = false;
        if (has(G(901))) absoluteArcs_ = true;
        if (has(G(911))) absoluteArcs_ = false;
        if (has(G(980))) retractToR_ = false;
        if (has(G(990))) retractToR_ = true;
        const Motion before = motion_;
        if (has(G(800))) motion_ = Motion::None;
        if (has(G(0))) motion_ = Motion::Rapid;
        if (has(G(10))) motion_ = Motion::Feed;
        if (has(G(20))) motion_ = Motion::Clockwise;
        if (has(G(30))) motion_ = Motion::CounterClockwise;
        if (has(G(810))) motion_ = Motion::Drill;
        if (has(G(820))) motion_ = Motion::DrillDwell;
        if (has(G(830))) motion_ = Motion::Peck;
        if (has(G(730))) motion_ = Motion::ChipBreak;
        program_.inches = inches_;
        const bool cycle = IsCycle(motion_);
        if (!cycle) cycleSeries_ = false;

        const Word* axes[3] = {given['X' - 'A'], given['Y' - 'A'], given['Z' - 'A']};
        const Word* offsets[3] = {given['I' - 'A'], given['J' - 'A'], given['K' - 'A']};
        const bool arc = motion_ == Motion::Clockwise || motion_ == Motion::CounterClockwise;
        // G28 takes the line's axis words for its own moves.
        const bool home = has(G(280));
        constexpr uint32_t kCycles = G(730) | G(810) | G(820) | G(830);
        constexpr uint32_t kMotions = G(0) | G(10) | G(20) | G(30) | kCycles;
        if (home && (gs & kMotions))
            return refuse(kAxesTwice, lineWords('G', gs & (kMotions | G(280))));
        if (const Word* h = given['H' - 'A']; h && !has(G(430)))
            return refuse(kUnused, WordText(*h));
        if (has(G(430))) program_.toolLengths = true;
        // An arc with a centre and no end is a full circle back to the start.
        const bool moves = !home && (axes[0] || axes[1] || axes[2] || (arc && firstOf(offsets)));
        if (moves && motion_ == Motion::None) return refuse(kUnused, WordText(*firstOf(axes)));
        // A cycle is named where it drills, with its words.
        if (!moves && (gs & kCycles)) return refuse(kUnused, MotionName(motion_));
        const bool arcs = moves && arc, drills = moves && cycle;
        const bool pecks = motion_ == Motion::Peck || motion_ == Motion::ChipBreak;
        const bool pauses = has(G(40)) || has(G(640)) || (drills && motion_ == Motion::DrillDwell);
        // Words no code of the line uses.
        for (const Word* w :
             {arcs ? nullptr : firstOf(offsets), arcs || drills ? nullptr : given['R' - 'A'],
              drills ? nullptr : given['L' - 'A'], drills && pecks ? nullptr : given['Q' - 'A'],
              pauses ? nullptr : p}) {
            if (w) return refuse(kUnused, WordText(*w));
        }
        if (home) {
            if (!goHome(axes)) return false;
        } else if (drills) {
            moveName_ = MotionName(motion_);
            if (!drill(given, before != motion_)) return false;
        } else if (moves) {
            std::array<double, 3> target;
            if (!targetOf(axes, target)) return false;
            const char* name = MotionName(motion_);
            if (motion_ != Motion::Rapid && feed_ <= 0) return refuse(kNoFeed, name);
            moveName_ = name;
            if (arc ? !arcTo(target, offsets, given['R' - 'A'], name)
                    : !lineTo(target, motion_ == Motion::Rapid))
                return false;
        }
        if (hasM(M(0)) || hasM(M(10))) pause(-1);
        if (hasM(M(20)) || hasM(M(300))) ended_ = true;
        return true;
    }

    // "G0 G1": the line's G or M words whose codes are among `bits`.
    std::string lineWords(char letter, uint32_t bits) const {
        std::string out;
        for (const Word& w : words_) {
            if (w.letter != letter) continue;
            const int code = Tenths(w.value);
            if (bits & (letter == 'G' ? CodeBit(kKnownG, code) : CodeBit(kKnownM, code)))
                out += (out.empty() ? "" : " ") + WordText(w);
        }
        return out;
    }

    // Where the line's axis words, in the distance mode, take the tool.
    bool targetOf(const Word* const (&axes)[3], std::array<double, 3>& target) {
        target = pos_;
        for (int a = 0; a < 3; ++a) {
            if (!axes[a]) continue;
            const double mm = axes[a]->value * unit();
            target[a] = absolute_ ? mm : pos_[a] + mm;
            if (!(std::abs(target[a]) / step_[a] < kMaxSteps))
                return refuse(kOutOfRange, WordText(*axes[a]));
        }
        return true;
    }

    // G28: rapid through the point the axis words name, then to the
    // machine's zero in those axes; in all three without axis words.
    bool goHome(const Word* const (&axes)[3]) {
        moveName_ = "G28";
        const bool named = firstOf(axes) != nullptr;
        std::array<double, 3> via;
        if (!targetOf(axes, via) || (named && !lineTo(via, true))) return false;
        std::array<double, 3> zero = pos_;
        for (int a = 0; a < 3; ++a) {
            if (named && !axes[a]) continue;
            zero[a] = zero_[a];
            program_.zeroedAxes |= 1 << a;
        }
        return lineTo(zero, true);
    }

    static const Word* firstOf(const Word* const (&words)[3]) {
        for (const Word* w : words)
            if (w) return w;
        return nullptr;
    }

    double unit() const { return inches_ ? 25.4 : 1.0; }

    void pause(int32_t tool) {
        if (tool < 0 && !program_.moves.empty()) program_.moves.back().stopAfter = 1;
        if (tool >= 0) {
            if (!program_.moves.empty()) program_.moves.back().stopAfter = 1;
            program_.toolChanges.push_back({program_.moves.size(), tool});
        }
    }
    void dwell() {
        if (!program_.moves.empty()) {
            MotionCommand& last = program_.moves.back();
            // The machine dwells for its own time, whatever P says.
            last.dwellAfter = 1;
            program_.estimatedSeconds -= last.remainingTimeS;
            last.remainingTimeS = timer_.seconds(last);
            program_.estimatedSeconds += last.remainingTimeS;
        }
    }

    bool lineTo(const std::array<double, 3>& target, bool rapid) {
        pos_ = target;
        return emit(rapid);
    }
    bool lineToZ(double z, bool rapid) {
        pos_[2] = z;
        return emit(rapid);
    }

    // Moves the tool to pos_, rounded to steps.
    bool emit(bool rapid) {
        for (int a = 0; a < 3; ++a)
            if (!(std::abs(pos_[a]) / step_[a] < kMaxSteps)) return refuse(kOutOfRange, moveName_);
        const std::array<int64_t, 3> to = {MmToSteps(pos_[0], step_[0]),
                                           MmToSteps(pos_[1], step_[1]),
                                           MmToSteps(-pos_[2], step_[2])};
        MotionCommand c;
        c.dx = static_cast<int32_t>(to[0] - at_[0]);
        c.dy = static_cast<int32_t>(to[1] - at_[1]);
        c.dz = static_cast<int32_t>(to[2] - at_[2]);
        at_ = to;
        if (c.dx == 0 && c.dy == 0 && c.dz == 0) return true;
        if (program_.moves.size() >= kMaxGcodeMoves)
            return refuse(kTooLong, std::to_string(kMaxGcodeMoves));
        const double d[3] = {double(c.dx), double(c.dy), double(c.dz)};
        const double steps = std::sqrt(d[0] * d[0] + d[1] * d[1] + d[2] * d[2]);
        double seconds = 0;
        if (rapid) {
            const double speeds[3] = {s_.moveSpeedX, s_.moveSpeedY, s_.moveSpeedZ};
            for (int a = 0; a < 3; ++a)
                if (d[a] != 0 && speeds[a] > 0)
                    seconds = std::max(seconds, std::abs(d[a]) * step_[a] / speeds[a]);
        } else {
            double mm = 0;
            for (int a = 0; a < 3; ++a) mm += (d[a] * step_[a]) * (d[a] * step_[a]);
            seconds = std::sqrt(mm) / (feed_ * unit() / 60);
        }
        c.periodUs = static_cast<int32_t>(
            std::round(std::clamp(seconds * 1e6 / steps, 1.0, double(INT32_MAX))));
        c.accelerated = rapid;
        c.spindleOn = spindle_;
        if (!rapid && !spindle_ && program_.stoppedSpindleFeed == 0)
            program_.stoppedSpindleFeed = program_.lines;
        c.remainingTimeS = timer_.seconds(c);
        program_.estimatedSeconds += c.remainingTimeS;
        program_.moves.push_back(c);
        program_.moveLines.push_back(static_cast<int32_t>(program_.lines));
        GcodePoint& lo = program_.low;
        GcodePoint& hi = program_.high;
        if (program_.moves.size() == 1) lo = hi = {to[0], to[1], to[2]};
        lo = {std::min(lo.x, to[0]), std::min(lo.y, to[1]), std::min(lo.z, to[2])};
        hi = {std::max(hi.x, to[0]), std::max(hi.y, to[1]), std::max(hi.z, to[2])};
        return true;
    }

    bool arcTo(const std::array<double, 3>& target, const Word* const (&offsets)[3],
               const Word* radius, const char* name) {
        // The plane's two axes in right-handed order, and its normal.
        static constexpr int kAxes[3][3] = {{0, 1, 2}, {2, 0, 1}, {1, 2, 0}};
        const int a = kAxes[plane_][0], b = kAxes[plane_][1], n = kAxes[plane_][2];
        if (offsets[n]) return refuse(kUnused, WordText(*offsets[n]));
        const double sa = pos_[a], sb = pos_[b], ea = target[a], eb = target[b];
        double ca = 0, cb = 0;
        if (radius) {
            if (offsets[a] || offsets[b])
                return refuse(kUnused, WordText(offsets[a] ? *offsets[a] : *offsets[b]));
            const double r = radius->value * unit();
            const double da = ea - sa, db = eb - sb, d = std::hypot(da, db);
            if (d == 0 || d > 2 * std::abs(r) + kArcToleranceMm) return refuse(kBadArc, name);
            const double h = std::sqrt(std::max(0.0, r * r - d * d / 4));
            // A short arc's centre lies left of the chord counter-clockwise,
            // right of it clockwise; a negative R takes the long way round.
            const double side = (motion_ == Motion::CounterClockwise ? 1 : -1) * (r > 0 ? 1 : -1);
            ca = (sa + ea) / 2 - side * h * db / d;
            cb = (sb + eb) / 2 + side * h * da / d;
        } else {
            const double oa = offsets[a] ? offsets[a]->value * unit() : 0;
            const double ob = offsets[b] ? offsets[b]->value * unit() : 0;
            ca = absoluteArcs_ ? (offsets[a] ? oa : sa) : sa + oa;
            cb = absoluteArcs_ ? (offsets[b] ? ob : sb) : sb + ob;
        }
        const double rs = std::hypot(sa - ca, sb - cb), re = std::hypot(ea - ca, eb - cb);
        if (!(rs > 0 && re > 0 && std::isfinite(rs)) ||
            (std::abs(rs - re) > kArcToleranceMm && std::abs(rs - re) > kArcToleranceRatio * rs))
            return refuse(kBadArc, name);
        const double as = std::atan2(sb - cb, sa - ca), ae = std::atan2(eb - cb, ea - ca);
        double sweep = ae - as;
        if (motion_ == Motion::CounterClockwise) {
            if (sweep <= 1e-12) sweep += kTurn;
        } else if (sweep >= -1e-12) {
            sweep -= kTurn;
        }
        const double finest = std::min(step_[a], step_[b]);
        const int32_t chords = ArcChordCount(std::max(rs, re) / finest, sweep, 0.5);
        const double sn = pos_[n];
        for (int32_t i = 1; i < chords; ++i) {
            const double t = double(i) / chords;
            const double angle = as + sweep * t, r = rs + (re - rs) * t;
            pos_[a] = ca + r * std::cos(angle);
            pos_[b] = cb + r * std::sin(angle);
            pos_[n] = sn + (target[n] - sn) * t;
            if (!emit(false)) return false;
        }
        pos_ = target;
        return emit(false);
    }

    // A drilling cycle's holes, as many as L asks for: each a rapid to X/Y,
    // to R, the drilling, and a rapid back to the clearance level: R under
    // G99, else where the series of cycles started (R if that is lower). R,
    // Z, Q and the retract mode stay in force from line to line; a cycle
    // named anew needs them again. The series starts when a cycle follows
    // another motion mode; G91 counts R from its start and Z from R.
    bool drill(const std::array<const Word*, 26>& given, bool named) {
        const Word* z = given['Z' - 'A'];
        const Word* r = given['R' - 'A'];
        const Word* q = given['Q' - 'A'];
        const Word* l = given['L' - 'A'];
        if (plane_ != 0) return refuse(kCyclePlane, moveName_);
        if (named) {
            const bool pecks = motion_ == Motion::Peck || motion_ == Motion::ChipBreak;
            for (const char letter :
                 {'Z', 'R', motion_ == Motion::DrillDwell ? 'P' : 'Z', pecks ? 'Q' : 'Z'})
                if (!given[letter - 'A']) return refuse(kCycleLacks, std::string(1, letter));
        }
        if (feed_ <= 0) return refuse(kNoFeed, moveName_);
        if (q && !(q->value > 0)) return refuse(kNotPositive, WordText(*q));
        int64_t repeats = 1;
        if (l) {
            if (!(l->value > 0)) return refuse(kNotPositive, WordText(*l));
            if (l->value != std::floor(l->value)) return refuse(kBadWord, WordText(*l));
            if (l->value > double(kMaxGcodeMoves)) return refuse(kOutOfRange, WordText(*l));
            repeats = static_cast<int64_t>(l->value);
        }
        if (z) cycleZ_ = z->value * unit();
        if (r) cycleR_ = r->value * unit();
        if (q) cycleQ_ = q->value * unit();
        if (!cycleSeries_) {
            cycleStartZ_ = pos_[2];
            cycleSeries_ = true;
        }
        double start = cycleStartZ_;
        const double rz = absolute_ ? cycleR_ : cycleR_ + start;
        const double bottom = absolute_ ? cycleZ_ : rz + cycleZ_;
        if (rz < bottom) return refuse(kCycleDepth, moveName_);
        if (q && (rz - bottom) / cycleQ_ > double(kMaxGcodeMoves))
            return refuse(kOutOfRange, WordText(*q));
        std::array<double, 3> at = pos_, step{};
        for (int a = 0; a < 2; ++a) {
            if (const Word* w = given['X' - 'A' + a])
                (absolute_ ? at : step)[a] = w->value * unit();
        }
        // A series started below R rises to it first.
        if (start < rz) {
            if (!lineToZ(rz, true)) return false;
            start = rz;
        }
        const double clear = retractToR_ ? rz : start;
        // A tool above R moves to the hole at its height, else at the clearance level.
        double travel = pos_[2] > rz ? pos_[2] : clear;
        for (int64_t i = 0; i < repeats; ++i) {
            at[0] += step[0];
            at[1] += step[1];
            at[2] = travel;
            if (!lineTo(at, true) || (travel != rz && !lineToZ(rz, true)) || !hole(rz, bottom) ||
                !lineToZ(clear, true))
                return false;
            travel = clear;
        }
        return true;
    }

    // From R down to the bottom: in one feed, or in pecks of Q, each followed
    // by a rapid back out to R (G83) or up a little to break the chip (G73).
    bool hole(double rz, double bottom) {
        if (motion_ == Motion::Peck || motion_ == Motion::ChipBreak) {
            // Pecks too fine to add to their depth would never end: the
            // count bounds the loop.
            int64_t pecks = 0;
            // NOLINTNEXTLINE(clang-analyzer-security.FloatLoopCounter)
            for (double depth = rz - cycleQ_; depth > bottom; depth = depth - cycleQ_) {
                if (++pecks > int64_t{kMaxGcodeMoves}) return refuse(kOutOfRange, moveName_);
                if (!lineToZ(depth, false)) return false;
                if (motion_ == Motion::Peck && !lineToZ(rz, true)) return false;
                if (!lineToZ(depth + kPeckClearanceMm, true)) return false;
            }
        }
        if (!lineToZ(bottom, false)) return false;
        if (motion_ == Motion::DrillDwell) dwell();
        return true;
    }

    const MachineSettings& s_;
    const MoveTimer timer_;
    std::array<double, 3> step_;
    std::array<double, 3> pos_;   // program coordinates, mm, Z up
    std::array<double, 3> zero_;  // the machine's zero, the same way
    std::array<int64_t, 3> at_;   // steps, Z down
    GcodeProgram program_;
    GcodeRefusal refusal_;
    std::vector<Word> words_;
    Motion motion_ = Motion::None;
    const char* moveName_ = "";
    int plane_ = 0;
    bool inches_ = false, absolute_ = true, absoluteArcs_ = false, ended_ = false;
    // Drilling cycles: mm, program Z up. Without G98 or G99 the tool returns
    // to R, as other interpreters start.
    bool retractToR_ = true, cycleSeries_ = false;
    double cycleZ_ = 0, cycleR_ = 0, cycleQ_ = 0, cycleStartZ_ = 0;
    double feed_ = 0;  // program units per minute
    int32_t spindle_ = 0, tool_ = -1;
};

}  // namespace

std::string RefusalMessage(int language, const GcodeRefusal& refusal) {
    return FormatCaption(language, refusal.text, static_cast<long long>(refusal.line),
                         refusal.word.c_str());
}

GcodeRead ReadGcode(std::string_view text, const MachineSettings& settings, GcodePoint start,
                    GcodePoint zero) {
    Reader reader(settings, start, zero, text.size());
    while (!text.empty()) {
        const size_t end = text.find('\n');
        const std::string_view line = text.substr(0, end);
        if (!reader.line(line)) return reader.refused();
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
    }
    return reader.finish();
}

}  // namespace korvex
