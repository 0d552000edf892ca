#pragma once

#include <string>

#include "check/project_check.h"

namespace tessara::check {

// The check as one self-contained HTML page for the commissioning binder: the I/O map, the two PROFIBUS areas
// drawn as bars and the findings, styled inline with no external file. `checkedOn` is printed as given (a
// date), so the same check and date always give the same page.
std::string CheckReportHtml(const ProjectCheck& check, const std::string& checkedOn);

// Today's date as YYYY-MM-DD (UTC), for the report's "checked on" line.
std::string TodayText();

}  // namespace tessara::check
