#pragma once

#include <string>

#include "check/project_check.h"

namespace tessara::check {

// One line per finding: severity, place and text separated by tabs. Line breaks inside a text (the parser's
// "Line: N" part) become blanks, so every finding stays on its line.
std::string FindingsText(const ProjectCheck& check);
std::string FindingLine(const Finding& finding);

// The whole check for scripts: the I/O map, the two PROFIBUS areas and the findings.
std::string ProjectCheckJson(const ProjectCheck& check);

}  // namespace tessara::check
