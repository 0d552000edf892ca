#include "fuzz_project.h"

#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <utility>

#include "base/file_system.h"
#include "base/project_files.h"

using namespace tessara::base;

namespace fs = std::filesystem;

namespace {

// TMPDIR when it is set (scripts/fuzz sets a tmpfs folder of its own there, which it removes even after a crash),
// else the machine's tmpfs. The settings file's saves flush it, and on a disk those flushes, not the code under
// test, set the pace: some 10 ms a save on a quiet disk and several times that while a build writes.
fs::path FuzzFolderParent() {
    constexpr const char* kTmpfs = "/dev/shm";
    std::error_code ec;
    if (!std::getenv("TMPDIR") && fs::is_directory(kTmpfs, ec) && ::access(kTmpfs, W_OK) == 0) return kTmpfs;
    return fs::temp_directory_path();
}

void RemoveFuzzFolder() {
    std::error_code ignored;
    fs::remove_all(FuzzFolder(), ignored);
}

}  // namespace

const std::string& FuzzFolder() {
    // Never destroyed: the exit handler that removes the folder runs after static destructors.
    static const std::string* folder = [] {
        std::string pattern = (FuzzFolderParent() / "tessara-fuzz-XXXXXX").string();
        if (!mkdtemp(pattern.data())) {
            std::perror("mkdtemp");
            std::abort();
        }
        std::atexit(RemoveFuzzFolder);
        return new std::string(pattern);
    }();
    return *folder;
}

void WriteFuzzFile(const std::string& path, std::string_view content) {
    // The plain stream, not the tool's own writer: the input must arrive byte for byte whatever it holds.
    FILE* file = std::fopen(path.c_str(), "wb");
    if (!file || std::fwrite(content.data(), 1, content.size(), file) != content.size() || std::fclose(file) != 0) {
        std::perror(path.c_str());
        std::abort();
    }
}

FuzzTexts SplitFuzzProject(const uint8_t* data, size_t size) {
    FuzzTexts texts;
    std::string_view rest(reinterpret_cast<const char*>(data), size);
    for (std::optional<std::string>* text : {&texts.pargen, &texts.network, &texts.bytes}) {
        const size_t cut = rest.find(kDocumentSeparator);
        if (cut != 0 && !rest.empty()) *text = std::string(rest.substr(0, cut));
        rest = cut == std::string_view::npos ? std::string_view() : rest.substr(cut + kDocumentSeparator.size());
    }
    return texts;
}

std::string WriteFuzzProject(const FuzzTexts& texts) {
    const std::string& project = FuzzFolder();
    const std::pair<const char*, const std::optional<std::string>*> documents[] = {
        {kPargenFileName, &texts.pargen}, {kDNetNetFileName, &texts.network}, {kDefByteFileName, &texts.bytes}};
    for (const auto& [name, text] : documents) {
        const std::string path = ProjectFile(project, name);
        std::error_code ignored;
        fs::remove(path, ignored);
        if (*text) WriteFuzzFile(path, **text);
    }
    return project;
}
