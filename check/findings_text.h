#pragma once

#include <string>

#include "check/project_check.h"

namespace tessara::check {

// One line per finding: severity, place and text separated by tabs, each shown as text.
std::string FindingsText(const ProjectCheck& check);
std::string FindingLine(const Finding& finding);

// The whole check for scripts: the I/O map, the two PROFIBUS areas and the findings.
std::string ProjectCheckJson(const ProjectCheck& check);

}  // namespace tessara::check
