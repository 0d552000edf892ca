#include "base/temporary_name.h"

#include <algorithm>
#include <chrono>
#include <filesystem>
#include <random>
#include <system_error>

#include "base/file_system.h"
#include "base/temporary_hold.h"

namespace tessara::base {

namespace {

namespace fs = std::filesystem;

constexpr std::string_view kPrefix = ".tessara-";
constexpr std::string_view kTemporarySuffix = ".tmp";

// A save holds its temporary from an instant after creating it: one younger than this may be in that instant.
constexpr auto kStaleAge = std::chrono::minutes(1);

std::string RandomNumber() {
    static std::mt19937_64 rng{std::random_device{}()};
    return std::to_string(rng() % 1000000000u);
}

bool IsNumber(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool Old(const fs::directory_entry& entry) {
    std::error_code ec;
    const fs::file_time_type written = entry.last_write_time(ec);
    return !ec && fs::file_time_type::clock::now() - written > kStaleAge;
}

}  // namespace

std::string TemporaryName() {
    return std::string(kPrefix) + RandomNumber() + std::string(kTemporarySuffix);
}

bool IsTemporaryName(std::string_view name) {
    if (!name.starts_with(kPrefix) || !name.ends_with(kTemporarySuffix)) return false;
    name.remove_prefix(kPrefix.size());
    name.remove_suffix(kTemporarySuffix.size());
    return IsNumber(name);
}

std::string BackupCopyName(std::string_view fileName) {
    return "." + std::string(fileName) + std::string(kPrefix) + RandomNumber();
}

bool IsBackupCopyName(std::string_view name, std::string_view fileName) {
    if (!name.starts_with(".")) return false;
    name.remove_prefix(1);
    if (!name.starts_with(fileName)) return false;
    name.remove_prefix(fileName.size());
    return name.starts_with(kPrefix) && IsNumber(name.substr(kPrefix.size()));
}

void RemoveStaleTemporaries(const std::string& dir) {
    std::error_code ec;
    for (fs::directory_iterator it(PathFromUtf8(dir), ec), end; !ec && it != end; it.increment(ec)) {
        if (!IsTemporaryName(Utf8FromPath(it->path().filename()))) continue;
        std::error_code kindError;
        if (!it->is_regular_file(kindError) || it->is_symlink(kindError) || !Old(*it)) continue;
        RemoveUnlessHeld(Utf8FromPath(it->path()));
    }
}

}  // namespace tessara::base
