#include "check/backup_copy_findings.h"

#include "base/backup_copies.h"
#include "base/project_files.h"

namespace tessara::check {

namespace {

std::string LeftCopyText(const std::string& path, const std::string& copy) {
    return "An interrupted save of \"" + path + "\" left the whole previous content in \"" + copy + "\"";
}

}  // namespace

void AddBackupCopyFindings(const std::string& projectDir, std::vector<Finding>& findings) {
    const struct {
        const char* name;
        FindingDocument document;
    } documents[] = {{base::kPargenFileName, FindingDocument::Pargen},
                     {base::kDNetNetFileName, FindingDocument::DNetNet},
                     {base::kDefByteFileName, FindingDocument::DefByte}};
    for (const auto& [name, document] : documents) {
        const std::string path = base::ProjectFile(projectDir, name);
        for (const std::string& copy : base::LeftBackupCopies(path)) {
            findings.push_back({Severity::Warning, name,
                                LeftCopyText(path, copy) + "; its editor offers to put it back",
                                FindingTarget::Whole(document)});
        }
    }
    // The image is built anew from the documents: its copy is only told of.
    const std::string image = base::BankFilePath(projectDir);
    for (const std::string& copy : base::LeftBackupCopies(image)) {
        findings.push_back({Severity::Warning, "bank.bin", LeftCopyText(image, copy)});
    }
}

}  // namespace tessara::check
