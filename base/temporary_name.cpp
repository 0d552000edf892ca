#include "base/temporary_name.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
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
constexpr std::string_view kProofSuffix = ".own";
constexpr size_t kTemporaryDigits = 16;
constexpr std::string_view kProofHeading = "Tessara save temporary ";
// A proof holds its heading and an identity of a few numbers; anything longer is no proof of the tool's.
constexpr size_t kProofLimit = 256;

// A save holds its temporary from an instant after creating it: one younger than this may be in that instant.
constexpr auto kStaleAge = std::chrono::minutes(1);

std::mt19937_64& Random() {
    static std::mt19937_64 rng{std::random_device{}()};
    return rng;
}

std::string RandomNumber() {
    return std::to_string(Random()() % 1000000000u);
}

bool IsNumber(std::string_view text) {
    return !text.empty() && std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsLowerHex(char c) {
    return (c >= '0' && c <= '9') || (c >= 'a' && c <= 'f');
}

// ".tessara-" + 16 hexadecimal digits + `suffix`, exactly.
bool HasSaveFileForm(std::string_view name, std::string_view suffix) {
    if (name.size() != kPrefix.size() + kTemporaryDigits + suffix.size()) return false;
    if (!name.starts_with(kPrefix) || !name.ends_with(suffix)) return false;
    const std::string_view digits = name.substr(kPrefix.size(), kTemporaryDigits);
    return std::all_of(digits.begin(), digits.end(), IsLowerHex);
}

bool Old(const fs::directory_entry& entry) {
    std::error_code ec;
    const fs::file_time_type written = entry.last_write_time(ec);
    return !ec && fs::file_time_type::clock::now() - written > kStaleAge;
}

bool IsPlainFile(const fs::directory_entry& entry) {
    std::error_code ec;
    return !entry.is_symlink(ec) && entry.is_regular_file(ec);
}

// The proof's text when it is one the tool wrote, else empty.
std::string ProofAt(const std::string& proofPath) {
    try {
        std::string text = ReadWholeFile(proofPath, kProofLimit);
        return text.starts_with(kProofHeading) ? text : std::string();
    } catch (const FileReadError&) {
        return {};
    }
}

std::string IdentityIn(const std::string& proof) {
    if (proof.empty() || !proof.ends_with('\n')) return {};
    return proof.substr(kProofHeading.size(), proof.size() - kProofHeading.size() - 1);
}

void RemoveQuietly(const std::string& path) {
    std::error_code ignored;
    fs::remove(PathFromUtf8(path), ignored);
}

std::string TemporaryPathOfProof(const std::string& proofPath) {
    return proofPath.substr(0, proofPath.size() - kProofSuffix.size()) + std::string(kTemporarySuffix);
}

}  // namespace

std::string TemporaryName() {
    char digits[kTemporaryDigits + 1];
    std::snprintf(digits, sizeof digits, "%016llx", static_cast<unsigned long long>(Random()()));
    return std::string(kPrefix) + digits + std::string(kTemporarySuffix);
}

bool IsTemporaryName(std::string_view name) {
    return HasSaveFileForm(name, kTemporarySuffix);
}

std::string ProofPathOf(const std::string& temporaryPath) {
    return temporaryPath.substr(0, temporaryPath.size() - kTemporarySuffix.size()) + std::string(kProofSuffix);
}

std::string ProofText(const std::string& identity) {
    return std::string(kProofHeading) + identity + "\n";
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
        const std::string name = Utf8FromPath(it->path().filename());
        const std::string path = Utf8FromPath(it->path());
        if (IsTemporaryName(name) && IsPlainFile(*it) && Old(*it)) {
            const std::string identity = IdentityIn(ProofAt(ProofPathOf(path)));
            if (!identity.empty() && RemoveUnlessHeld(path, identity)) RemoveQuietly(ProofPathOf(path));
        } else if (HasSaveFileForm(name, kProofSuffix) && IsPlainFile(*it) && Old(*it) &&
                   !AnythingExists(TemporaryPathOfProof(path)) && !ProofAt(path).empty()) {
            // The save ended between renaming its temporary into place and removing the proof.
            RemoveQuietly(path);
        }
    }
}

}  // namespace tessara::base
