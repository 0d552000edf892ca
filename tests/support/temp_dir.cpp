#include "support/temp_dir.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>

#include "base/file_system.h"

using namespace tessara::base;

namespace fs = std::filesystem;

TempDir::TempDir() {
    std::random_device rd;
    for (int attempt = 0; attempt < 100; ++attempt) {
        fs::path candidate = fs::temp_directory_path() / ("tessara-test-" + std::to_string(rd()));
        if (fs::create_directory(candidate)) {
            path_ = candidate.string();
            return;
        }
    }
    throw std::runtime_error("cannot create a temporary directory");
}

TempDir::~TempDir() {
    std::error_code ignored;
    fs::remove_all(path_, ignored);
}

std::string TempDir::File(const std::string& relative) const {
    std::string native = relative;
    std::replace(native.begin(), native.end(), '/', kPathSeparator);
    return path_ + kPathSeparator + native;
}

std::string TempDir::Write(const std::string& relative, const std::string& content) const {
    // Paths are UTF-8 here, which a narrow path on Windows would take for the ANSI code page.
    const std::string full = File(relative);
    const fs::path path = PathFromUtf8(full);
    fs::create_directories(path.parent_path());
    std::ofstream(path, std::ios::binary) << content;
    return full;
}

std::string TempDir::Read(const std::string& relative) const {
    return ReadWholeFile(File(relative));
}

std::string TempDir::MakeDir(const std::string& relative) const {
    const std::string full = File(relative);
    fs::create_directories(PathFromUtf8(full));
    return full;
}

std::string FixturePath(const std::string& relative) {
    return std::string(TESSARA_FIXTURES_DIR) + "/" + relative;
}

std::string ReadFixture(const std::string& relative) {
    return ReadWholeFile(FixturePath(relative));
}
