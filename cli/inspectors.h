#pragma once
// The readers behind `inspect`: each loads FILE the way the program does,
// prints one JSON object on stdout and returns the exit code.

#include <string>

namespace korvex::cli {

struct CliContext;

// `kind`: "corel", "artcam", "sprint" (or "" for the extension's default).
int InspectHpgl(CliContext& ctx, const std::string& path, const std::string& kind);
// `kind`: "excellon" or "simple" (from the extension), or "excellon-full",
// which prints "type":"excellon" with "reader":"full" and adds "slots",
// "unknownWords" and the travel in mm of the holes in file order and as
// ordered ("travelFileOrder", "travelOrdered"). `format`: the digits
// ("2.4") the full reader reads numbers without a point with, or "".
int InspectDrills(CliContext& ctx, const std::string& path, const std::string& kind,
                  const std::string& format);
int InspectRaster(CliContext& ctx, const std::string& path);

}  // namespace korvex::cli
