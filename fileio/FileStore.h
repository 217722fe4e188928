#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <system_error>
#include <vector>

// File input and output for the file operations and the wipe. Every file is
// opened once and then worked on through what was opened, never again by
// name.
namespace filestore {

using ByteArray = std::vector<std::uint8_t>;

// The path for a text path, in the platform's own path encoding (UTF-8 on
// Linux). Fails with an error for text that is not valid UTF-16 (a lone
// surrogate, which is how undecodable bytes of a command line arrive).
std::filesystem::path ToPath(const std::u16string& text, std::error_code& ec);

// True for an existing regular file whose length can be read.
bool IsRegularFile(const std::u16string& text);

// True for an existing folder.
bool IsFolder(const std::u16string& text);

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
    // Reads exactly Size() bytes; a file that changed length meanwhile is
    // refused with std::errc::io_error.
    std::error_code ReadAll(std::uint8_t* data);
    // Reads exactly `size` bytes from where the last read ended; a file that
    // ends early is refused with std::errc::io_error.
    std::error_code ReadExactly(std::uint8_t* data, std::size_t size);
    // Reads from the start again.
    std::error_code Rewind();
    // True when both are open on the same file.
    bool SameFileAs(const SourceFile& other) const;
    // Closes the file once it is read, so that a destination of the same
    // name can replace it (Windows does not replace a file that is open).
    void Close();

private:
    friend class WipeTarget;
    std::error_code Adopt(int fd);

    int fd_ = -1;
    std::uint64_t size_ = 0;
    std::uint64_t device_ = 0, inode_ = 0;
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
// ".quillbox-". Until Commit the destination is untouched; without Commit the
// temporary file is removed. A destination that is a symbolic link keeps
// pointing at its target, which is what gets written (and created, when the
// link dangles).
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
    // content was written is not replaced.
    void KeepExisting(bool keep) { keepExisting_ = keep; }
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
// is overwritten and deleted is the very file that was checked.
class WipeTarget {
public:
    enum class Refusal { None, SymbolicLink, NotAFile, OtherNames };

    WipeTarget() = default;
    ~WipeTarget();
    WipeTarget(const WipeTarget&) = delete;
    WipeTarget& operator=(const WipeTarget&) = delete;

    // Opens the file for reading and writing without following a symbolic
    // link in its last component.
    std::error_code Open(const std::filesystem::path& path, Refusal& refusal);
    SourceFile& Content() { return content_; }
    // Renames the file to a temporary name in its folder, so that its own
    // name is gone before anything is written to it. Fails, changing
    // nothing, when the name no longer refers to the opened file.
    std::error_code MoveAside();
    // Gives the file its name back (after MoveAside, when nothing was written).
    std::error_code RestoreName();
    // Writes the whole of `from` (read from its start) over the file's own
    // content and waits until it is on disk.
    std::error_code Overwrite(SourceFile& from);
    // Deletes the file's temporary name, if it still refers to the file.
    std::error_code Remove();

private:
    bool NameIsOurs(const std::string& name) const;

    int folder_ = -1;
    std::string name_, asideName_;
    SourceFile content_;
    bool written_ = false;  // Overwrite has begun writing over the content
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

}  // namespace filestore
