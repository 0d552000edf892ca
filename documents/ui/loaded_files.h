#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class QString;
class QWidget;

namespace tessara::documents {

// What an editor's documents held when the editor loaded them. Two tools may have one project open: before
// OK replaces a document that another program rewrote in the meantime, the user is asked.
class LoadedFiles {
public:
    // Forgets what was remembered and remembers each file as it is now (or its absence).
    void Remember(const std::vector<std::string>& paths);
    // True when each of `paths` is as it was remembered (or gone), or the user agrees to replace the changed
    // one. No is the default answer.
    bool MayReplace(QWidget* parent, const std::vector<std::string>& paths) const;
    // True when `path`, a document the editor's content was read from but does not write, is as it was
    // remembered, or the user agrees to save what was built on the earlier content. No is the default answer.
    bool MaySaveAfterChangeOf(QWidget* parent, const std::string& path, const QString& consequence) const;

private:
    bool Changed(const std::string& path) const;

    struct File {
        std::string path;
        std::optional<uint64_t> fingerprint;
    };
    std::vector<File> files_;
};

}  // namespace tessara::documents
