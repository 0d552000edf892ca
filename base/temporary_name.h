#pragma once

#include <string>
#include <string_view>

namespace tessara::base {

// The files a save makes beside its target, named so they are told apart from the user's files and from each
// other. Both names are short, so a target of the longest name the file system takes still saves.

// A temporary that becomes the target by a rename: ".tessara-<16 hexadecimal digits>.tmp", always that long. A
// process killed mid-save may leave one behind, with its proof: ".tessara-<the same digits>.own", whose content
// names the temporary's file (save_temporary.h). A later save into the folder removes both once no save holds
// the temporary (RemoveStaleTemporaries).
std::string TemporaryName();
bool IsTemporaryName(std::string_view name);
std::string ProofPathOf(const std::string& temporaryPath);
// What a proof holds for the file of the given identity (FileIdentity).
std::string ProofText(const std::string& identity);

// The copy of a file's previous content kept while the file is rewritten in place: ".<file name>.tessara-<number>".
// It names its file, so whoever reads the file next finds a copy an interrupted save left behind. It is the
// user's data and is never removed unasked.
std::string BackupCopyName(std::string_view fileName);
bool IsBackupCopyName(std::string_view name, std::string_view fileName);

// Removes the temporaries of the tool in `dir` that no running save holds, that are older than a save takes to
// begin holding its own and whose proof names them, with their proofs, and proofs whose temporary is gone.
// Nothing else, and no error, is ever raised: the save that calls it goes on as before.
void RemoveStaleTemporaries(const std::string& dir);

}  // namespace tessara::base
