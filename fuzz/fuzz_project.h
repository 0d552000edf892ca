#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

// A folder under the system's temporary folder that lives as long as the fuzzing process; every run rewrites
// the files it needs in it.
const std::string& FuzzFolder();

// The fuzzer's bytes as the three documents of a project: pargen.xml, DNET_Net.xml and DefByte.xml, in this
// order, separated by kDocumentSeparator. A part that is empty or absent leaves its document missing, which is a
// case the readers must handle too. Returns the project folder.
inline constexpr std::string_view kDocumentSeparator = "\n%%\n";
std::string WriteFuzzProject(const uint8_t* data, size_t size);

void WriteFuzzFile(const std::string& path, std::string_view content);
