#include "support/tool_process.h"

#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdio>

namespace {

std::string Quoted(const std::string& word) {
    std::string quoted = "'";
    for (const char c : word) quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    return quoted + "'";
}

ToolRun RunShell(const std::string& command) {
    ToolRun run;
    FILE* pipe = ::popen(("exec 2>&1; " + command).c_str(), "r");
    if (!pipe) return run;
    char block[4096];
    for (size_t n; (n = std::fread(block, 1, sizeof block, pipe)) > 0;) run.output.append(block, n);
    const int status = ::pclose(pipe);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    return run;
}

std::string CommandLine(const std::vector<std::string>& args, const std::string& program = TESSARA_EXECUTABLE) {
    std::string line = Quoted(program);
    for (const std::string& arg : args) line += " " + Quoted(arg);
    return line;
}

}  // namespace

ToolRun RunTool(const std::vector<std::string>& args, const std::string& shellTail) {
    return RunShell(CommandLine(args) + " " + shellTail);
}

ToolRun RunToolAfter(const std::string& shellHead, const std::vector<std::string>& args) {
    return RunShell(shellHead + CommandLine(args));
}

ToolRun RunProgramAfter(const std::string& shellHead, const std::string& program,
                        const std::vector<std::string>& args) {
    return RunShell(shellHead + CommandLine(args, program));
}

ToolRun RunToolAsNobody(const std::vector<std::string>& args) {
    return RunShell("setpriv --reuid=nobody --regid=nogroup --clear-groups " + CommandLine(args));
}

std::string NobodyUnavailable() {
    if (::geteuid() != 0) return "only root can run the tool as another user";
    if (RunShell("command -v setpriv").status != 0) return "setpriv (util-linux) is missing";
    return {};
}

void OpenToOthers(const std::string& folder) {
    struct stat st {};
    if (::stat(folder.c_str(), &st) == 0) ::chmod(folder.c_str(), (st.st_mode & 07777) | 0755);
}
