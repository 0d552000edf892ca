#pragma once

#include <string>

// A fresh directory under the system's temporary folder, removed with everything in it at destruction.
class TempDir {
public:
    TempDir();
    ~TempDir();
    TempDir(const TempDir&) = delete;
    TempDir& operator=(const TempDir&) = delete;

    const std::string& path() const { return path_; }
    // path() + separator + relative, each "/" of relative turned into the platform's separator
    std::string File(const std::string& relative) const;
    // Writes content to path() + separator + relative, creating parent folders; returns the full path.
    std::string Write(const std::string& relative, const std::string& content) const;
    std::string Read(const std::string& relative) const;
    std::string MakeDir(const std::string& relative) const;

private:
    std::string path_;
};

// Reads a file of tests/fixtures.
std::string ReadFixture(const std::string& relative);
std::string FixturePath(const std::string& relative);
