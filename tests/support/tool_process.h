#pragma once

#include <string>
#include <vector>

// The built `tessara` run as its own process, for what only a process shows: its exit status when its output
// cannot be written, and what another user may do with files.
struct ToolRun {
    int status = -1;
    std::string output;  // standard output and standard error together
};

// `shellTail` is appended to the shell's command line, to redirect the output ("> /dev/full").
ToolRun RunTool(const std::vector<std::string>& args, const std::string& shellTail = "");
// `shellHead` runs in the same shell first, to set a limit the tool inherits ("ulimit -f 1; ").
ToolRun RunToolAfter(const std::string& shellHead, const std::vector<std::string>& args);
// Another program of the build (the wizard) in the same way.
ToolRun RunProgramAfter(const std::string& shellHead, const std::string& program, const std::vector<std::string>& args);
// The same as the user nobody, through setpriv. Only root can switch users: NobodyUnavailable says why not.
ToolRun RunToolAsNobody(const std::vector<std::string>& args);
std::string NobodyUnavailable();
// Lets nobody reach `folder` (the temporary folders are the creator's alone).
void OpenToOthers(const std::string& folder);
