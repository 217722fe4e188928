#pragma once

#include <chrono>
#include <cstdint>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <ostream>
#include <string>
#include <vector>

#include "cipher/FileError.h"
#include "tests/support/Files.h"

// Helpers for the fault-injection tests of the file operations: scratch
// folders, snapshots of what is on disk, running an operation in a child
// process (unprivileged, or under a time limit) and small tmpfs mounts.
namespace fileiotest {

using Bytes = testsupport::ByteArray;
namespace fs = std::filesystem;
using testsupport::RandomBytes;
using testsupport::ReadFile;
using testsupport::WriteFile;
using ScratchDir = testsupport::TempDir;

// What a path holds, compared before and after an operation.
struct Entry {
    enum class Kind { Absent, File, Folder, Other } kind = Kind::Absent;
    Bytes content;                          // a file's bytes
    std::map<std::string, Entry> children;  // a folder's entries, recursively
    bool operator==(const Entry&) const = default;
};
Entry Capture(const fs::path& path);
void PrintTo(const Entry& entry, std::ostream* os);

// Names in `folder` that start with the engine's temporary-file prefix.
std::vector<std::string> TempFilesIn(const fs::path& folder);

enum class Direction { Encrypt, Decrypt };
std::string Name(Direction direction);
void PrintTo(Direction direction, std::ostream* os);

// What a file operation answered.
struct Outcome {
    bool written = false;
    cipher::FileFailure failure = cipher::FileFailure::None;
    int error = 0;  // the system's error number, when there was one
};
std::ostream& operator<<(std::ostream& os, const Outcome& outcome);

// EncryptFile or DecryptFile with Overwrite true and raw containers.
Outcome Transform(Direction direction, const fs::path& source, const fs::path& destination,
                  const std::u16string& password);

// The container of `plain` under `password`.
Bytes Encrypt(const Bytes& plain, const std::u16string& password);

// The plaintext in the container file at `path`, or nothing when it does not
// decrypt under `password`.
std::optional<Bytes> DecryptedContent(const fs::path& path, const std::u16string& password);

// How a child process run went.
struct ChildRun {
    enum class Status { Finished, TimedOut, CannotDropPrivileges, Crashed } status;
    Outcome outcome;  // valid when Finished
    std::string detail;
};

std::ostream& operator<<(std::ostream& os, ChildRun::Status status);

struct ChildOptions {
    bool unprivileged = false;  // run as user and group "nobody" when we are root
    std::chrono::milliseconds limit{20000};
};

// Runs `operation` in a forked child and reports its outcome. A child that
// outlives the limit is killed.
ChildRun RunInChild(const std::function<Outcome()>& operation, ChildOptions options);

// Runs `operation` so that file permissions apply: directly when we are not
// root, else in a child that has become "nobody". Returns nothing (with the
// reason in `why`) when privileges cannot be dropped.
std::optional<Outcome> RunUnprivileged(const std::function<Outcome()>& operation, std::string& why);

// A mount made for a test, in a private mount namespace where possible, and
// detached on destruction. Mounting needs CAP_SYS_ADMIN: where it is not
// permitted the factories return nothing, with the reason in `why`.
class Mount {
public:
    // A tmpfs of a fixed size on an empty folder.
    static std::unique_ptr<Mount> Tmpfs(const fs::path& at, std::size_t bytes, std::string& why);
    // `from` mounted again at `at` (a file on a file, or a folder on a
    // folder). A mount point cannot be removed or renamed.
    static std::unique_ptr<Mount> Bind(const fs::path& from, const fs::path& at, std::string& why);
    ~Mount();
    Mount(const Mount&) = delete;
    Mount& operator=(const Mount&) = delete;

    // Makes the mount read-only; false with the reason in `why`.
    bool RemountReadOnly(std::string& why);

private:
    Mount(fs::path at, bool bind, std::string options)
        : at_(std::move(at)), bind_(bind), options_(std::move(options)) {}
    fs::path at_;
    bool bind_;
    std::string options_;
};

}  // namespace fileiotest
