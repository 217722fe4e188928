#pragma once

#include <string>

namespace cipher {
class ProgressSink;
}

namespace core {

// Wiping the source file after it was encrypted: the source is checked
// against the encrypted file, renamed out of the way, its own content
// overwritten with the encrypted data and flushed to disk, and the file
// deleted. The wipe never destroys the only copy of the data, never leaves
// ciphertext under the plaintext's name, never deletes the source before what
// was written over it is on disk, and works on the very file it checked. A
// request to end the program (terminate, interrupt, hang-up) that arrives
// after the rename waits until the source is deleted, or has its name back
// when nothing was written yet. A kill or a crash in that stretch leaves the
// source, whole or partly overwritten, in its folder under a hidden name
// that starts with ".quillbox-wipe-".

enum class WipeOutcome {
    Wiped,              // the source is overwritten, flushed and deleted
    SameFile,           // source and destination are one file: nothing to wipe
    NotVerified,        // the encrypted file does not give back the source: no wipe
    NotDurable,         // the encrypted file's name could not be flushed to disk, so it
                        // might not survive a crash: no wipe, nothing changed
    SymbolicLink,       // the source is a symbolic link: declined, nothing changed
    NotRemovable,       // the source's name cannot be removed: nothing changed
    OtherNames,         // the source has other names (hard links) that would keep the
                        // encrypted data: declined, nothing changed
    OverwriteFailed,    // nothing could be written over the source: it is unchanged
                        // under its name; the encrypted file stays
    PartlyOverwritten,  // overwriting failed part-way: what was written is on disk, and
                        // the source was deleted; the rest of its content may remain in
                        // the disk's free space
    LeftAside,          // overwriting or flushing failed: the source was not deleted and
                        // stays, perhaps partly overwritten, at `leftAt`
    DeleteFailed,       // the source was overwritten and flushed but could not be
                        // deleted; it stays at `leftAt`
};

struct WipeResult {
    WipeOutcome outcome;
    std::string reason = {};  // the system's reason, when there is one (UTF-8)
    std::string leftAt = {};  // where the source was left under another name (UTF-8)
};

// True when a wipe that was asked for did not happen.
inline bool WipeMissed(const WipeResult& result) {
    return result.outcome != WipeOutcome::Wiped && result.outcome != WipeOutcome::SameFile;
}

// True unless the two paths provably name different files: the same file
// through another spelling, a link or letter case counts as the same.
bool MaybeSameFile(const std::u16string& first, const std::u16string& second);

// Reads the encrypted file back a chunk at a time, checks that it decrypts
// under password to exactly the source's bytes, and only then overwrites and
// deletes the source. A source that is a symbolic link is not wiped.
WipeResult WipeSource(const std::u16string& source, const std::u16string& encrypted,
                      const std::u16string& password, cipher::ProgressSink* progress);

}  // namespace core
