#pragma once
// What a file looks like from its first few kilobytes, whatever its name
// says: the one Open of the main window chooses the dialog by it, and a
// file given to the wrong reader is recognised before that reader reports
// its own confusing failure.

#include <string>
#include <string_view>

namespace korvex {

enum class FileKind { Unknown, Hpgl, Gcode, Excellon, DrillList, Picture };

// The kind of `head`, the start of a file.
FileKind KindOfText(std::string_view head);
// The kind of the file at `path`; Unknown when it cannot be read.
FileKind KindOfFile(const std::string& path);

}  // namespace korvex
