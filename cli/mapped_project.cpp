#include "cli/mapped_project.h"

#include <stdexcept>

#include "check/findings_text.h"

namespace tessara::cli {

std::optional<check::ProjectCheck> ReadMappedProject(const std::string& projectDir, std::ostream& err) {
    check::ProjectCheck check = check::CheckProject(projectDir);
    if (!check.mapRead) {
        err << check::FindingsText(check);
        return std::nullopt;
    }
    if (check.plcMapError) throw std::runtime_error(*check.plcMapError);
    return check;
}

}  // namespace tessara::cli
