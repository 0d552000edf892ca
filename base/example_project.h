#pragma once

#include <string>

namespace tessara::base {

// The demo project that comes with the tool, "Plant1": a build keeps a copy in examples/ beside its
// executables; an installed tool finds it in its data folder (/usr/share/tessara/examples for the package),
// at the same place relative to the folder it was installed to.
inline constexpr const char* kExampleProjectName = "Plant1";

// The example's folder for a tool whose executable is in `programDir`; empty when neither place has it.
std::string FindExampleProject(const std::string& programDir);

// Copies the example's documents into a new project folder of `projectsDir`, with its bin folder, and returns
// that folder: "Plant1", or "Plant1-2", "Plant1-3", ... when the name is taken, so no project is overwritten.
// Throws std::runtime_error naming the folder and the system's reason; a folder begun is removed again.
std::string CopyExampleProject(const std::string& exampleDir, const std::string& projectsDir);

}  // namespace tessara::base
