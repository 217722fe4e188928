#include "core/ExistingFile.h"

#include <filesystem>
#include <system_error>

#include "core/Wildcard.h"
#include "fileio/FileStore.h"

namespace core {

namespace {

bool IsRegularFile(const std::filesystem::path& path) {
    std::error_code error;
    return std::filesystem::is_regular_file(path, error);
}

bool AnyRegularFileMatches(const std::filesystem::path& pattern) {
    const std::filesystem::path folder =
        pattern.has_parent_path() ? pattern.parent_path() : std::filesystem::path(".");
    if (HasWildcard(folder.u16string())) return false;
    const std::u16string name = pattern.filename().u16string();
    std::error_code error;
    for (std::filesystem::directory_iterator it(folder, error), end; !error && it != end;
         it.increment(error)) {
        if (MatchesWildcard(it->path().filename().u16string(), name) && IsRegularFile(it->path())) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool IsExistingFileOrMatch(const std::u16string& path) {
    if (path.empty()) return false;
    std::error_code invalid;
    const std::filesystem::path fsPath = fileio::ToPath(path, invalid);
    if (invalid) return false;  // not a name this system can have
    if (HasWildcard(fsPath.filename().u16string())) return AnyRegularFileMatches(fsPath);
    return IsRegularFile(fsPath);
}

}  // namespace core
