#include "tests/fileio/FaultSupport.h"

#include <grp.h>
#include <poll.h>
#include <sched.h>
#include <signal.h>
#include <sys/mount.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <stdexcept>

#include "cipher/clsBlowfish.h"
#include "tests/support/ChildProcess.h"

namespace fileiotest {

namespace {

constexpr uid_t kNobody = 65534;
constexpr gid_t kNoGroup = 65534;

std::string SystemError(const char* what) {
    return std::string(what) + ": " + std::strerror(errno);
}

// The result a child sends back through its pipe.
struct Report {
    int status;
    int written;
    int failure;
    int error;
};

}  // namespace

Entry Capture(const fs::path& path) {
    Entry entry;
    std::error_code ec;
    const fs::file_status status = fs::symlink_status(path, ec);
    if (ec || !fs::exists(status)) return entry;
    if (fs::is_regular_file(status)) {
        entry.kind = Entry::Kind::File;
        entry.content = ReadFile(path);
    } else if (fs::is_directory(status)) {
        entry.kind = Entry::Kind::Folder;
        for (const auto& child : fs::directory_iterator(path)) {
            entry.children[child.path().filename().string()] = Capture(child.path());
        }
    } else {
        entry.kind = Entry::Kind::Other;
    }
    return entry;
}

void PrintTo(const Entry& entry, std::ostream* os) {
    switch (entry.kind) {
        case Entry::Kind::Absent:
            *os << "absent";
            break;
        case Entry::Kind::File:
            *os << "file of " << entry.content.size() << " bytes";
            break;
        case Entry::Kind::Other:
            *os << "special file";
            break;
        case Entry::Kind::Folder:
            *os << "folder {";
            for (const auto& [name, child] : entry.children) {
                *os << ' ' << name << ": ";
                PrintTo(child, os);
                *os << ';';
            }
            *os << " }";
            break;
    }
}

std::vector<std::string> TempFilesIn(const fs::path& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (auto it = fs::directory_iterator(folder, ec); !ec && it != fs::directory_iterator();
         it.increment(ec)) {
        const std::string name = it->path().filename().string();
        if (name.starts_with(".quillbox-")) names.push_back(name);
    }
    return names;
}

std::string Name(Direction direction) {
    return direction == Direction::Encrypt ? "Encrypt" : "Decrypt";
}

void PrintTo(Direction direction, std::ostream* os) {
    *os << Name(direction);
}

std::ostream& operator<<(std::ostream& os, const Outcome& outcome) {
    return os << "{written=" << outcome.written << " failure=" << static_cast<int>(outcome.failure)
              << " error=" << outcome.error << " (" << std::strerror(outcome.error) << ")}";
}

Outcome Transform(Direction direction, const fs::path& source, const fs::path& destination,
                  const std::u16string& password) {
    clsBlowfish cipher;
    std::u16string in = source.u16string();
    std::u16string out = destination.u16string();
    std::u16string key = password;
    const bool written = direction == Direction::Encrypt ? cipher.EncryptFile(in, out, true, key)
                                                         : cipher.DecryptFile(in, out, true, key);
    return {written, cipher.LastError().failure, cipher.LastError().code.value()};
}

Bytes Encrypt(const Bytes& plain, const std::u16string& password) {
    clsBlowfish cipher;
    Bytes container = plain;
    cipher.EncryptByte(container, password);
    return container;
}

std::optional<Bytes> DecryptedContent(const fs::path& path, const std::u16string& password) {
    std::error_code ec;
    if (!fs::is_regular_file(path, ec)) return std::nullopt;
    Bytes bytes = ReadFile(path);
    clsBlowfish cipher;
    if (!cipher.DecryptByte(bytes, password)) return std::nullopt;
    return bytes;
}

std::ostream& operator<<(std::ostream& os, ChildRun::Status status) {
    static const char* const kNames[] = {"finished", "timed out", "cannot drop privileges",
                                         "crashed"};
    return os << kNames[static_cast<int>(status)];
}

ChildRun RunInChild(const std::function<Outcome()>& operation, ChildOptions options) {
    int fds[2];
    if (::pipe(fds) != 0) return {ChildRun::Status::Crashed, {}, SystemError("pipe")};
    const pid_t pid = ::fork();
    if (pid < 0) return {ChildRun::Status::Crashed, {}, SystemError("fork")};
    if (pid == 0) {
        ::close(fds[0]);
        Report report{static_cast<int>(ChildRun::Status::Finished), 0, 0, 0};
        if (options.unprivileged && ::geteuid() == 0 &&
            (::setgroups(0, nullptr) != 0 || ::setgid(kNoGroup) != 0 || ::setuid(kNobody) != 0)) {
            report.status = static_cast<int>(ChildRun::Status::CannotDropPrivileges);
            report.error = errno;
        } else {
            try {
                const Outcome outcome = operation();
                report.written = outcome.written;
                report.failure = static_cast<int>(outcome.failure);
                report.error = outcome.error;
            } catch (...) {
                report.status = static_cast<int>(ChildRun::Status::Crashed);
            }
        }
        [[maybe_unused]] const ssize_t sent = ::write(fds[1], &report, sizeof report);
        ::_exit(0);
    }
    ::close(fds[1]);

    ChildRun run{ChildRun::Status::Crashed, {}, {}};
    pollfd waiting{fds[0], POLLIN, 0};
    int ready;
    do {
        ready = ::poll(&waiting, 1, static_cast<int>(options.limit.count()));
    } while (ready < 0 && errno == EINTR);
    Report report{};
    if (ready == 0) {
        ::kill(pid, SIGKILL);
        run.status = ChildRun::Status::TimedOut;
        run.detail = "still running after " + std::to_string(options.limit.count()) + " ms";
    } else if (::read(fds[0], &report, sizeof report) == sizeof report) {
        run.status = static_cast<ChildRun::Status>(report.status);
        run.outcome = {report.written != 0, static_cast<cipher::FileFailure>(report.failure),
                       report.error};
        if (run.status == ChildRun::Status::CannotDropPrivileges) {
            run.detail = std::string("cannot become nobody: ") + std::strerror(report.error);
        }
    } else {
        run.detail = "the child ended without reporting";
    }
    ::close(fds[0]);
    testsupport::WaitFor(pid);
    return run;
}

std::optional<Outcome> RunUnprivileged(const std::function<Outcome()>& operation,
                                       std::string& why) {
    if (::geteuid() != 0) return operation();
    const ChildRun run = RunInChild(operation, {.unprivileged = true});
    if (run.status == ChildRun::Status::Finished) return run.outcome;
    why = run.detail;
    return std::nullopt;
}

namespace {

// A private mount namespace keeps our mounts out of everyone else's view and
// takes them down with the process if a test dies.
void IsolateMounts() {
    static const bool isolated = ::unshare(CLONE_NEWNS) == 0 &&
                                 ::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) == 0;
    (void)isolated;
}

}  // namespace

std::unique_ptr<Mount> Mount::Tmpfs(const fs::path& at, std::size_t bytes, std::string& why) {
    IsolateMounts();
    const std::string options = "size=" + std::to_string(bytes) + ",mode=0755";
    if (::mount("quillbox-test", at.c_str(), "tmpfs", MS_NOSUID | MS_NODEV, options.c_str()) != 0) {
        why = SystemError("mounting a tmpfs is not permitted here (needs CAP_SYS_ADMIN)");
        return nullptr;
    }
    return std::unique_ptr<Mount>(new Mount(at, false, options));
}

std::unique_ptr<Mount> Mount::Bind(const fs::path& from, const fs::path& at, std::string& why) {
    IsolateMounts();
    if (::mount(from.c_str(), at.c_str(), nullptr, MS_BIND, nullptr) != 0) {
        why = SystemError("bind mounts are not permitted here (needs CAP_SYS_ADMIN)");
        return nullptr;
    }
    return std::unique_ptr<Mount>(new Mount(at, true, {}));
}

Mount::~Mount() {
    ::umount2(at_.c_str(), MNT_DETACH);
}

bool Mount::RemountReadOnly(std::string& why) {
    const unsigned long flags = MS_REMOUNT | MS_RDONLY | (bind_ ? MS_BIND : MS_NOSUID | MS_NODEV);
    if (::mount("quillbox-test", at_.c_str(), bind_ ? nullptr : "tmpfs", flags,
                bind_ ? nullptr : options_.c_str()) != 0) {
        why = SystemError("cannot remount read-only");
        return false;
    }
    return true;
}

}  // namespace fileiotest
