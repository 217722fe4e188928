#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "fileio/FileIdentity.h"
#include "fileio/PendingName.h"

// File input and output for the file operations and the wipe. Every file is
// opened once and then worked on through what was opened, never again by
// name.
namespace fileio {

using ByteArray = std::vector<std::uint8_t>;

// The path for a text path, in the platform's own path encoding (UTF-8 on
// Linux). Fails with an error for text that is not valid UTF-16 (a lone
// surrogate, which is how undecodable bytes of a command line arrive).
std::filesystem::path ToPath(const std::u16string& text, std::error_code& ec);

// True for an existing regular file whose length can be read.
bool IsRegularFile(const std::u16string& text);

// True for an existing folder.
bool IsFolder(const std::u16string& text);

// The error for a source that changed while it was being read: it grew,
// shrank or was written to between its open and its last read.
std::error_code SourceChanged();

// A regular file opened for reading. The open never blocks (a pipe put in the
// file's place is refused), and the size is the one of the file that was
// opened.
class SourceFile {
public:
    SourceFile() = default;
    ~SourceFile();
    SourceFile(const SourceFile&) = delete;
    SourceFile& operator=(const SourceFile&) = delete;

    std::error_code Open(const std::filesystem::path& path);
    std::uint64_t Size() const { return size_; }
    // Reads exactly Size() bytes and confirms, as ConfirmUnchanged does, that
    // the file ended there; a file that changed meanwhile is refused with
    // SourceChanged().
    std::error_code ReadAll(std::uint8_t* data);
    // Reads exactly `size` bytes from where the last read ended; a file that
    // ends early is refused with SourceChanged().
    std::error_code ReadExactly(std::uint8_t* data, std::size_t size);
    // After the last read: SourceChanged() unless the file still ends at
    // Size() and still has the length and modification time it had when it
    // was opened. A reader that stops there thus never takes a file that grew
    // (or was rewritten) meanwhile for the whole file.
    std::error_code ConfirmUnchanged() const;
    // Reads from the start again.
    std::error_code Rewind();
    // True when both are open on the same file.
    bool SameFileAs(const SourceFile& other) const;
    FileIdentity Identity() const { return {device_, inode_}; }
    // Closes the file once it is read, so that a destination of the same
    // name can replace it (Windows does not replace a file that is open).
    void Close();
    // Makes sure this file, opened at `path`, survives a crash under that
    // name: flushes its content and its folder to disk. Fails when either
    // flush fails, when the name no longer refers to this file, and when the
    // flush of the folder failed as PendingFile::Commit put this file in
    // place (in this process), even if it succeeds now.
    std::error_code MakeDurable(const std::filesystem::path& path) const;

private:
    friend class WipeTarget;
    std::error_code Adopt(int fd);

    int fd_ = -1;
    std::uint64_t size_ = 0;
    std::uint64_t device_ = 0, inode_ = 0;
    std::int64_t modified_ = 0;  // nanoseconds since the epoch, at the open
};

// Why a destination is refused before anything is written.
enum class Refusal {
    None,
    NotAFile,       // a device, a pipe or a socket, also behind a symbolic link
    ReadOnly,       // an existing file without write permission
    UntrustedLink,  // a link in a sticky world-writable folder owned by someone else
};

// The new content of a file, built in a temporary file beside it and put in
// the file's place by Commit once it is complete and flushed to disk. The
// temporary file has no name where the file system allows (a crash then
// leaves nothing); elsewhere it is an owner-only file whose name starts with
// ".quillbox-", created and registered for removal on a termination signal
// in one step that no such signal cuts (see TerminationHold), so a signal
// leaves nothing and a kill or crash leaves at most that file, holding only
// what was written to it. Until Commit the destination is untouched; without
// Commit the temporary file is removed. A destination that is a symbolic
// link keeps pointing at its target, which is what gets written (and
// created, when the link dangles).
class PendingFile {
public:
    PendingFile() = default;
    ~PendingFile();
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    // Checks the destination and creates the temporary file. A refused
    // destination comes back as `refusal` with no error code.
    std::error_code Create(const std::filesystem::path& destination, Refusal& refusal);
    std::error_code Write(const std::uint8_t* data, std::size_t size);
    // Commit puts the new file in place only where no file is (failing with
    // std::errc::file_exists otherwise), so a file that appeared while the
    // content was written is not replaced. Where the file system cannot
    // rename without replacing (NFS, many FUSE file systems and older CIFS
    // refuse the flag), a hard link under the new name and the removal of
    // the temporary name do the same; where it has no hard links either, the
    // rename follows a check that the name is free, which leaves a moment in
    // which a file created just then by someone else could be replaced.
    void KeepExisting(bool keep) { keepExisting_ = keep; }
    // Flushes the content to disk and renames it over the destination; a
    // failure leaves the destination as it was. After success the new
    // content is complete under the destination's name, and that name has
    // been flushed too. A failure of that last flush is not reported here,
    // since the new content is in place either way; it is remembered, and
    // SourceFile::MakeDurable reports it for a caller that must rely on the
    // name surviving a crash.
    std::error_code Commit();

private:
    std::error_code Resolve(std::filesystem::path destination, Refusal& refusal);
    std::error_code MakeTemporary();
    std::error_code NameTemporary();
    void Discard();

    int fd_ = -1;
    int folder_ = -1;       // the folder the destination's target is in
    std::string target_;    // the target's name in that folder
    std::string tempName_;  // the temporary file's name, once it has one
    unsigned mode_ = 0;     // the permissions the new content gets
    std::uint64_t written_ = 0, flushedTo_ = 0;
    bool keepExisting_ = false;
};

// The source of a wipe, held open from the check to the delete, so that what
// is overwritten and deleted is the very file that was checked. From
// MoveAside until the file is deleted or has its name back, requests to end
// the program wait (a TerminationHold), so a signal never leaves the
// original hidden and never removes it before it was overwritten and
// flushed. A kill or a crash in that stretch leaves the original, whole or
// partly overwritten, in its folder under a name that starts with
// ".quillbox-wipe-".
class WipeTarget {
public:
    enum class Refusal { None, SymbolicLink, NotAFile, OtherNames };

    WipeTarget() = default;
    // Left part-way: the original gets its name back when nothing was
    // written over it, is deleted when everything written is flushed, and
    // otherwise stays under its temporary name (never deleted unflushed).
    ~WipeTarget();
    WipeTarget(const WipeTarget&) = delete;
    WipeTarget& operator=(const WipeTarget&) = delete;

    // Opens the file for reading and writing without following a symbolic
    // link in its last component.
    std::error_code Open(const std::filesystem::path& path, Refusal& refusal);
    SourceFile& Content() { return content_; }
    // Renames the file to a temporary name in its folder, so that its own
    // name is gone before anything is written to it; the new name never
    // replaces another file. Fails, changing nothing, when the name no
    // longer refers to the opened file.
    std::error_code MoveAside();
    // Gives the file its name back (after MoveAside, when nothing was
    // written), unless another file has taken that name meanwhile.
    std::error_code RestoreName();
    // Writes the first Content().Size() bytes of `from` (read from its
    // start) over the file's own content, so the file keeps its length and
    // its blocks, and waits until they are on disk. When a request to end
    // the program came after MoveAside, nothing is written and the file gets
    // its name back (std::errc::interrupted). On failure, Overwritten() and
    // Flushed() say how far it got.
    std::error_code Overwrite(SourceFile& from);
    std::uint64_t Overwritten() const { return overwritten_; }
    bool Flushed() const { return flushed_; }
    // Deletes the file's temporary name, if it still refers to the file.
    // Refused (std::errc::operation_not_permitted) while data written over
    // the content may not be on disk yet.
    std::error_code Remove();
    // Where the file is now, when MoveAside left it under another name.
    std::filesystem::path AsidePath() const;

private:
    bool NameIsOurs(const std::string& name) const;
    // Writes at Overwritten() and moves it on by what got there, all of it
    // or, on failure, part.
    std::error_code WriteInPlace(const std::uint8_t* data, std::size_t size);
    std::error_code FlushContent();
    void CloseFolder();

    int folder_ = -1;
    std::filesystem::path folderPath_;
    std::string name_, asideName_;
    SourceFile content_;
    std::uint64_t overwritten_ = 0;  // bytes written over the content
    bool flushed_ = true;            // everything written is on disk
    std::optional<TerminationHold> hold_;
};

// Reads the whole regular file into bytes, reserving room for `spare` more
// bytes so the caller can grow the array in place. A file longer than
// maxSize is refused with std::errc::file_too_large before anything is read.
std::error_code ReadWholeFile(const std::filesystem::path& path, ByteArray& bytes,
                              std::size_t spare, std::uint64_t maxSize);

// Replaces (or creates) the file with exactly these bytes, through a
// PendingFile. A refused destination comes back as an error: not a regular
// file (std::errc::invalid_argument), read-only (permission_denied) or a link
// that may not be followed (operation_not_permitted).
// With keepExisting, a file that exists by then is not replaced
// (std::errc::file_exists).
std::error_code WriteFileAtomically(const std::filesystem::path& path, const std::uint8_t* data,
                                    std::size_t size, bool keepExisting = false);

// Prefix of the temporary files' names.
inline constexpr const char* kTempPrefix = ".quillbox-";
// Prefix of the name an original has while it is being wiped.
inline constexpr const char* kWipePrefix = ".quillbox-wipe-";

}  // namespace fileio
