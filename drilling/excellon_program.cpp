#include "drilling/excellon_program.h"

#include <algorithm>
#include <optional>
#include <unordered_map>

#include "drilling/drill_set.h"
#include "drilling/drill_words.h"

namespace korvex {

namespace {

constexpr size_t kUnknownExamples = 3;
constexpr size_t kExampleLength = 24;

bool IsDigit(char c) {
    return c >= '0' && c <= '9';
}
bool IsNumberCharacter(char c) {
    return IsDigit(c) || c == '.' || c == '-' || c == '+';
}
bool AllDigits(std::string_view s) {
    return !s.empty() && std::all_of(s.begin(), s.end(), IsDigit);
}

struct Field {
    char letter;
    std::string_view number;
};

// 'X1.5Y-2G85X3Y4' as its letters and numbers; nothing when a letter is not
// one of `letters` or has no number.
std::optional<std::vector<Field>> Fields(std::string_view word, std::string_view letters) {
    std::vector<Field> fields;
    size_t i = 0;
    while (i < word.size()) {
        const char letter = word[i];
        if (letters.find(letter) == std::string_view::npos) return std::nullopt;
        size_t j = i + 1;
        while (j < word.size() && IsNumberCharacter(word[j])) ++j;
        if (j == i + 1) return std::nullopt;
        fields.push_back({letter, word.substr(i + 1, j - i - 1)});
        i = j;
    }
    return fields;
}

constexpr int kSlotCode = 85, kZeroSetCode = 93;

// The G codes a drill file may use: modes, the slot and the zero set.
bool KnownGCode(int code) {
    switch (code) {
        case 0:
        case 1:
        case 2:
        case 3:
        case 5:
        case 40:
        case 41:
        case 42:
        case 81:
        case kSlotCode:
        case 90:
        case 91:
        case kZeroSetCode:
            return true;
    }
    return false;
}

struct Point {
    double x = 0, y = 0;
};

class Parser {
  public:
    explicit Parser(ExcellonProgram& program) : p_(program) {}

    void comment(std::string_view text) {
        ApplyFormatComment(text, p_.format);
        noteUnit();
    }
    // False once the program has ended or been refused.
    bool word(std::string_view word);
    void finish();

  private:
    bool tool(std::string_view word);
    bool mCode(std::string_view word);
    void coordinates(std::string_view word);
    void modeCode(int code);

    void noteUnit() {
        if (p_.format.unitNamed && !firstMetric_) firstMetric_ = p_.format.metric;
    }
    void unknown(std::string_view word);
    int toolIndex(int number);  // -1 when the table is full (refused)
    Point resolve(std::optional<double> x, std::optional<double> y, Point from) const;
    void addSlot();
    void closeSlot() {
        if (routeCut_) addSlot();
        routeCut_ = false;
    }

    ExcellonProgram& p_;
    std::unordered_map<int, int> indexOf_;
    // Diameters given before the file named its unit, as written: they take
    // the first unit it names (a header without INCH before an M71 body).
    std::vector<std::pair<int, double>> unitless_;
    std::optional<bool> firstMetric_;
    int current_ = -1;
    bool incremental_ = false;
    bool routing_ = false;   // G00..G03 until G05 / G81
    bool cutting_ = false;   // the modal route move is G01..G03, not G00
    bool routeCut_ = false;  // the route has cut since the tool last went down
    Point origin_, at_;
};

bool Parser::word(std::string_view word) {
    std::string upper(word);
    for (char& c : upper)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    const std::string_view w = upper;
    if (w == "M48" || w == "M95" || w == "%" || w.starts_with("FMAT,") || w.starts_with("VER,"))
        return true;
    if (ApplyUnitStatement(w, p_.format)) {
        noteUnit();
        return true;
    }
    if (w == "ICI,ON" || w == "ICI,OFF") {
        incremental_ = w == "ICI,ON";
        return true;
    }
    if (w[0] == 'T') return tool(w);
    if (w[0] == 'M') return mCode(w);
    coordinates(w);
    return true;
}

void Parser::unknown(std::string_view word) {
    ++p_.unknownWords;
    const std::string example(word.substr(0, kExampleLength));
    auto& examples = p_.unknownExamples;
    if (examples.size() < kUnknownExamples &&
        std::find(examples.begin(), examples.end(), example) == examples.end())
        examples.push_back(example);
}

int Parser::toolIndex(int number) {
    if (auto it = indexOf_.find(number); it != indexOf_.end()) return it->second;
    if (p_.tools.size() >= static_cast<size_t>(kMaxDrillTools)) {
        p_.refusal = ExcellonRefusal::kTooManyDrills;
        return -1;
    }
    p_.tools.push_back({number, 0, false, 0});
    return indexOf_[number] = static_cast<int>(p_.tools.size() - 1);
}

bool Parser::tool(std::string_view word) {
    size_t digits = 1;
    while (digits < word.size() && IsDigit(word[digits])) ++digits;
    std::optional<std::vector<Field>> fields = Fields(word.substr(digits), "CFSBHZ");
    if (digits == 1 || !fields) {
        unknown(word);
        return true;
    }
    std::optional<double> written;  // the diameter as the file writes it
    ExcellonNumberFormat asWritten;
    asWritten.metric = true;
    for (const Field& f : *fields) {
        const std::optional<double> value = asWritten.decimalMm(f.number);
        if (!value) {
            unknown(word);
            return true;
        }
        if (f.letter == 'C') written = value;
    }
    closeSlot();
    const int number = LeadingInteger(word.substr(1, digits - 1));
    if (!written && number == 0 && !indexOf_.contains(0)) {
        current_ = -1;  // 'T0': no tool
        return true;
    }
    current_ = toolIndex(number);
    if (current_ < 0) return false;
    if (written) {
        ExcellonTool& t = p_.tools[current_];
        t.diameterGiven = true;
        t.diameterMm = *written * MmPerUnit(p_.format.metric);
        std::erase_if(unitless_, [this](const auto& u) { return u.first == current_; });
        if (!p_.format.unitNamed) unitless_.push_back({current_, *written});
    }
    return true;
}

bool Parser::mCode(std::string_view word) {
    const std::string_view digits = word.substr(1);
    const int code = AllDigits(digits) ? LeadingInteger(digits) : -1;
    switch (code) {
        case 71:
        case 72:
            SetUnit(p_.format, code == 71);
            noteUnit();
            return true;
        case 0:
        case 30:
            return false;
        case 15:  // the router goes down; what it cuts makes the slot
            return true;
        case 16:
        case 17:
            closeSlot();
            return true;
        default:
            unknown(word);
            return true;
    }
}

// Cutter compensation (G40..G42) only shifts a route: nothing to do.
void Parser::modeCode(int code) {
    switch (code) {
        case 90:
        case 91:
            incremental_ = code == 91;
            break;
        case 0:
            closeSlot();
            routing_ = true;
            cutting_ = false;
            break;
        case 1:
        case 2:
        case 3:
            routing_ = cutting_ = true;
            break;
        case 5:
        case 81:
            closeSlot();
            routing_ = false;
            break;
    }
}

Point Parser::resolve(std::optional<double> x, std::optional<double> y, Point from) const {
    if (incremental_) {
        if (x) from.x += *x;
        if (y) from.y += *y;
    } else {
        if (x) from.x = origin_.x + *x;
        if (y) from.y = origin_.y + *y;
    }
    return from;
}

void Parser::addSlot() {
    if (current_ >= 0)
        ++p_.tools[current_].slots;
    else
        ++p_.slotsWithoutTool;
}

void Parser::coordinates(std::string_view word) {
    const std::optional<std::vector<Field>> fields = Fields(word, "XYGAIJ");
    if (!fields) return unknown(word);
    // Check every field before acting on any.
    for (const Field& f : *fields) {
        const bool known = f.letter == 'G'
                               ? AllDigits(f.number) && KnownGCode(LeadingInteger(f.number))
                               : p_.format.coordinateMm(f.number).has_value();
        if (!known) return unknown(word);
    }
    std::optional<double> x[2], y[2];  // before and after G85
    int part = 0;
    bool zeroSet = false;
    for (const Field& f : *fields) {
        if (f.letter == 'G') {
            const int code = LeadingInteger(f.number);
            if (code == kSlotCode) part = 1;
            zeroSet = zeroSet || code == kZeroSetCode;
            modeCode(code);
        } else if (f.letter == 'X') {
            x[part] = p_.format.coordinateMm(f.number);
        } else if (f.letter == 'Y') {
            y[part] = p_.format.coordinateMm(f.number);
        }
    }
    if (zeroSet) {
        origin_ = {x[0].value_or(origin_.x), y[0].value_or(origin_.y)};
        return;
    }
    if (part == 1) {
        at_ = resolve(x[1], y[1], resolve(x[0], y[0], at_));
        return addSlot();
    }
    if (!x[0] && !y[0]) return;
    at_ = resolve(x[0], y[0], at_);
    if (routing_)
        routeCut_ = routeCut_ || cutting_;
    else
        p_.holes.push_back({current_, at_.x, at_.y});
}

void Parser::finish() {
    closeSlot();
    const double mmPerUnit = MmPerUnit(firstMetric_.value_or(false));
    for (const auto& [index, written] : unitless_) p_.tools[index].diameterMm = written * mmPerUnit;
}

// The statements of one line: its words, with a word that starts or ends
// with a comma joined to its neighbour ('INCH, LZ').
bool Statements(Parser& parser, std::string_view line) {
    WordScanner words(line);
    std::string_view w;
    std::string statement;
    while (words.next(w)) {
        if (!statement.empty() && statement.back() != ',' && w.front() != ',') {
            if (!parser.word(statement)) return false;
            statement.clear();
        }
        statement += w;
    }
    return statement.empty() || parser.word(statement);
}

}  // namespace

int ExcellonProgram::slotCount() const {
    int count = slotsWithoutTool;
    for (const ExcellonTool& t : tools) count += t.slots;
    return count;
}

ExcellonProgram ParseExcellon(std::string_view text) {
    ExcellonProgram program;
    WordScanner all(text);
    std::string_view w;
    while (all.next(w)) {
        if (w.size() > kMaxDrillWordLength) {
            program.refusal = ExcellonRefusal::kWordTooLong;
            return program;
        }
    }
    Parser parser(program);
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = text.size();
        const std::string_view line = text.substr(start, end - start);
        start = end + 1;
        const size_t comment = line.find(';');
        if (comment != std::string_view::npos) parser.comment(line.substr(comment + 1));
        if (!Statements(parser, line.substr(0, comment))) break;
    }
    if (program.refusal != ExcellonRefusal::kNone) return program;
    parser.finish();
    return program;
}

}  // namespace korvex
