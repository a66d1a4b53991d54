#pragma once
// The program's version, shown by --version and the About box.

namespace korvex {

// "0.1", or "0.1+7d554fa" (with the git description) when built from a
// checkout.
const char* ProgramVersion();

}  // namespace korvex
