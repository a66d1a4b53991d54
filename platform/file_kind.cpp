#include "platform/file_kind.h"

#include <algorithm>
#include <cctype>
#include <fstream>

namespace korvex {

namespace {

bool StartsWith(std::string_view s, std::string_view prefix) {
    return s.substr(0, prefix.size()) == prefix;
}

bool IsDigit(char c) {
    return std::isdigit(static_cast<unsigned char>(c)) != 0;
}

std::string_view Trimmed(std::string_view line) {
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.front())))
        line.remove_prefix(1);
    while (!line.empty() && std::isspace(static_cast<unsigned char>(line.back())))
        line.remove_suffix(1);
    return line;
}

// A G-code word G or M with a number, at the line's start or after a space
// or a line number: "G1 X2", "N10 G00", "M30".
bool HasMotionWord(std::string_view line) {
    for (size_t i = 0; i + 1 < line.size(); ++i) {
        const char c = static_cast<char>(std::toupper(static_cast<unsigned char>(line[i])));
        const bool wordStart = i == 0 || line[i - 1] == ' ' || IsDigit(line[i - 1]);
        if ((c == 'G' || c == 'M') && wordStart && IsDigit(line[i + 1])) return true;
    }
    return false;
}

// HPGL instructions: two letters, then parameters or nothing, ended by ';'.
int HpglInstructions(std::string_view text) {
    static constexpr std::string_view kMnemonics[] = {"IN", "SP", "PU", "PD", "PA", "PR",
                                                      "SC", "IP", "LT", "VS", "DF"};
    int found = 0;
    for (std::string_view m : kMnemonics)
        for (size_t at = text.find(m); at != std::string_view::npos; at = text.find(m, at + 2))
            found += at + 2 < text.size() &&
                     (text[at + 2] == ';' || IsDigit(text[at + 2]) || text[at + 2] == '-');
    return found;
}

}  // namespace

FileKind KindOfText(std::string_view head) {
    if (StartsWith(head, "BM") || StartsWith(head, "\x89PNG") || StartsWith(head, "\xFF\xD8\xFF") ||
        StartsWith(head, std::string_view("II*\0", 4)) ||
        StartsWith(head, std::string_view("MM\0*", 4)))
        return FileKind::Picture;

    // Lines of X and Y alone are holes in a drill file, modal moves in a
    // program: they count for whichever the rest of the file is.
    int gcode = 0, excellon = 0, drillList = 0, xyOnly = 0;
    size_t lines = 0;
    for (size_t start = 0; start < head.size() && lines < 400; ++lines) {
        size_t end = head.find_first_of("\r\n", start);
        if (end == std::string_view::npos) end = head.size();
        const std::string_view line = Trimmed(head.substr(start, end - start));
        start = end + 1;
        if (line.empty()) continue;
        // The Excellon header decides, routed files being full of G words.
        if (line == "M48") return FileKind::Excellon;
        if (StartsWith(line, "METRIC") || StartsWith(line, "INCH") ||
            StartsWith(line, ";FILE_FORMAT"))
            excellon += 3;
        else if (line[0] == 'T' && line.size() > 2 && IsDigit(line[1]) &&
                 line.find('C') != std::string_view::npos)
            excellon += 2;
        else if (StartsWith(line, "PV") && line.size() > 2 && (IsDigit(line[2]) || line[2] == '.'))
            drillList += 2;
        else if (line[0] == 'X' && line.find('Y') != std::string_view::npos &&
                 line.find_first_not_of("XY0123456789.+-") == std::string_view::npos)
            ++xyOnly;
        else if (HasMotionWord(line) || line[0] == '(' || line[0] == 'N')
            gcode += 1;
    }
    if (excellon > 0 || drillList > 0)
        (excellon >= drillList ? excellon : drillList) += xyOnly;
    else
        gcode += xyOnly;
    const int hpgl = HpglInstructions(head.substr(0, 4096));
    const int best = std::max({gcode, excellon, drillList, hpgl});
    if (best == 0) return FileKind::Unknown;
    if (best == excellon) return FileKind::Excellon;
    if (best == drillList) return FileKind::DrillList;
    if (best == hpgl) return FileKind::Hpgl;
    return FileKind::Gcode;
}

FileKind KindOfFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return FileKind::Unknown;
    std::string head(8192, '\0');
    in.read(head.data(), static_cast<std::streamsize>(head.size()));
    head.resize(static_cast<size_t>(in.gcount()));
    return KindOfText(head);
}

}  // namespace korvex
