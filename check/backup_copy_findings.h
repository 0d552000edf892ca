#pragma once

#include <string>
#include <vector>

#include "check/project_check.h"

namespace tessara::check {

// The backup copies that interrupted saves left beside the three documents and bank.bin (warnings, naming the
// file and the copy): such a file may be cut, and the copy holds the whole content it had before that save.
void AddBackupCopyFindings(const std::string& projectDir, std::vector<Finding>& findings);

}  // namespace tessara::check
