#pragma once

#include <string>

#include "check/project_check.h"

namespace tessara::check {

// Text from documents as a terminal shows it: a control character would act on the terminal (an escape
// sequence) or split tab-separated fields, so C0 and C1 controls and DEL become \xNN (the code point). Line breaks
// (the parser's "Line: N" part) become blanks, so the text stays on its line.
std::string ShownAsText(const std::string& text);

// One line per finding: severity, place and text separated by tabs, each shown as text.
std::string FindingsText(const ProjectCheck& check);
std::string FindingLine(const Finding& finding);

// The whole check for scripts: the I/O map, the two PROFIBUS areas and the findings.
std::string ProjectCheckJson(const ProjectCheck& check);

}  // namespace tessara::check
