#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// What the command line of quillbox-cli asks for. Parsing only reads the
// arguments; it opens nothing and reads no password.
namespace cli {

enum class Command { None, Encrypt, Decrypt, EncryptText, DecryptText };

// Where the password comes from. It is never an argument itself.
enum class PasswordFrom { Terminal, Descriptor, File, Environment };

struct PasswordOption {
    PasswordFrom from = PasswordFrom::Terminal;
    int descriptor = -1;  // --password-fd
    std::string name;     // the file of --password-file, the variable of --password-env
};

struct Options {
    Command command = Command::None;
    std::vector<std::string> files;     // inputs; "-" is standard input
    std::optional<std::string> output;  // -o; "-" is standard output
    std::optional<std::string> text;    // --text
    PasswordOption password;
    std::size_t threads = 0;  // --threads; 0 for the usable processors
    bool armor = false;
    bool force = false;
    bool wipe = false;
    bool recursive = false;  // -r: the files are folders, walked (cli/TreeRun.h)
    bool dryRun = false;     // with -r: say what would be done, do nothing
    bool quiet = false;
    bool help = false;
    bool version = false;
};

// The most threads --threads accepts.
inline constexpr std::size_t kMaxThreads = 256;

struct ParsedOptions {
    Options options;
    std::string error;  // why the command line cannot be used; empty when it can
};

// Reads the arguments after the program's name.
ParsedOptions ParseOptions(const std::vector<std::string>& arguments);

// True for the two file commands.
inline bool IsFileCommand(Command command) {
    return command == Command::Encrypt || command == Command::Decrypt;
}

}  // namespace cli
