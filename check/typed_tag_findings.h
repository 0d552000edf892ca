#pragma once

#include "check/project_check.h"

namespace tessara::check {

// A warning for each typed tag of PlcMap.xml that the PLC cannot read as one value (its bytes no longer selected
// or no longer in one slot, past the area, shared with another tag, its name taken or no IEC name), leading to the
// byte editor at the tag's first byte. The image and the GSD never read the tags, so none is an error.
void AddTypedTagFindings(ProjectCheck& check);

}  // namespace tessara::check
