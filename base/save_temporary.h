#pragma once

#include <string>

#include "base/save_primitives.h"

namespace tessara::base {

// A save's temporary: a new file beside its target under a fresh TemporaryName(), held while the save runs, with
// its proof beside it (ProofName) naming the file by its identity. A later save removes a leftover temporary
// only when that proof names it, so a user's file of a similar name, or a copy of a temporary, is never taken.
// The proof, not a mark in the temporary, because the temporary becomes the document byte for byte.
struct SaveTemporary {
    std::string path;
    SaveHandle file;
};

// Not valid, with `error` set, when the folder takes no new file.
SaveTemporary CreateSaveTemporary(const std::string& dir, SaveError& error);
// After the temporary is renamed into place or removed: its proof goes too.
void DropProof(const std::string& temporaryPath);
// Closes the temporary and removes it and its proof.
void DiscardSaveTemporary(SaveTemporary& temporary);

}  // namespace tessara::base
