#pragma once

#include <string>
#include <vector>

#include "check/project_check.h"

namespace tessara::documents {
class DocumentFile;
}  // namespace tessara::documents

namespace tessara::check {

// What a document holds that the readers pass over without a word (warnings): anything from a NUL character on,
// a second root element, an attribute given twice in one element, and in pargen.xml a setting given twice; the
// first one is what is read.
// A document that cannot be loaded gives none: its error is listed by the reader.
void AddIgnoredContentFindings(documents::DocumentFile& document, const std::string& name,
                               std::vector<Finding>& findings);

}  // namespace tessara::check
