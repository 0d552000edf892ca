#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

// A folder under TMPDIR, or without it in the machine's tmpfs, that lives as long as the fuzzing process; every
// run rewrites the files it needs in it.
const std::string& FuzzFolder();

// The fuzzer's bytes as the three documents of a project: pargen.xml, DNET_Net.xml and DefByte.xml, in this
// order, separated by kDocumentSeparator. A part that is empty or absent leaves its document missing, which is a
// case the readers must handle too.
inline constexpr std::string_view kDocumentSeparator = "\n%%\n";
struct FuzzTexts {
    std::optional<std::string> pargen;
    std::optional<std::string> network;
    std::optional<std::string> bytes;
};
FuzzTexts SplitFuzzProject(const uint8_t* data, size_t size);

// Writes the documents into FuzzFolder(), removing those that are missing; returns the folder.
std::string WriteFuzzProject(const FuzzTexts& texts);

void WriteFuzzFile(const std::string& path, std::string_view content);

// The readers take their input from memory, which is some twenty times faster than through files. One input in
// 64, chosen by its length so that a crash reproduces, is also written to files and read from there, and must
// give what memory gave: the file path (reading straight into the parser's buffer, the system's errors) stays
// under the fuzzer without slowing it.
inline bool AlsoThroughFiles(size_t size) {
    return size % 64 == 0;
}
