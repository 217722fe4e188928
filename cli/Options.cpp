#include "cli/Options.h"

#include <charconv>
#include <string_view>

#include "cli/Descriptors.h"

namespace cli {

namespace {

std::string NoPasswordArgument() {
    return std::string("a password is never taken from the command line; use ") +
           PasswordOptions() + ", or type it when asked";
}

std::optional<Command> CommandNamed(std::string_view word) {
    if (word == "encrypt") return Command::Encrypt;
    if (word == "decrypt") return Command::Decrypt;
    if (word == "encrypt-text") return Command::EncryptText;
    if (word == "decrypt-text") return Command::DecryptText;
    return std::nullopt;
}

// Walks the arguments; each option's value is the rest of its own argument
// ("--output=x", "-ox") or the next argument.
class Parser {
public:
    explicit Parser(const std::vector<std::string>& arguments) : args_(arguments) {}

    ParsedOptions Run() {
        bool optionsEnded = false;
        for (index_ = 0; index_ < args_.size() && error_.empty(); ++index_) {
            const std::string& arg = args_[index_];
            if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
                Positional(arg);
            } else if (arg == "--") {
                optionsEnded = true;
            } else if (arg.rfind("--", 0) == 0) {
                Long(arg.substr(2));
            } else {
                Shorts(arg.substr(1));
            }
        }
        if (error_.empty()) Check();
        return {options_, error_};
    }

private:
    void Positional(const std::string& arg) {
        if (options_.command != Command::None) {
            options_.files.push_back(arg);
        } else if (auto command = CommandNamed(arg)) {
            options_.command = *command;
        } else {
            error_ = "unknown command '" + arg + "'";
        }
    }

    void Long(const std::string& body) {
        const std::size_t eq = body.find('=');
        const std::string name = body.substr(0, eq);
        std::optional<std::string> inlineValue;
        if (eq != std::string::npos) inlineValue = body.substr(eq + 1);
        auto value = [&]() -> std::optional<std::string> {
            if (inlineValue) return inlineValue;
            return Next("--" + name);
        };
        auto flag = [&](bool& target) {
            if (inlineValue) error_ = "option '--" + name + "' takes no value";
            target = true;
        };
        if (name == "armor") return flag(options_.armor);
        if (name == "force") return flag(options_.force);
        if (name == "wipe") return flag(options_.wipe);
        if (name == "recursive") return flag(options_.recursive);
        if (name == "dry-run") return flag(options_.dryRun);
        if (name == "quiet") return flag(options_.quiet);
        if (name == "help") return flag(options_.help);
        if (name == "version") return flag(options_.version);
        if (name == "password" || name == "passphrase") {
            error_ = NoPasswordArgument();
            return;
        }
        if (name != "output" && name != "text" && name != "threads" && name != "password-fd" &&
            name != "password-file" && name != "password-env") {
            error_ = "unknown option '--" + name + "'";
            return;
        }
        const std::optional<std::string> v = value();
        if (!v) return;
        if (name == "output") return Set(options_.output, *v, "--output");
        if (name == "text") return Set(options_.text, *v, "--text");
        if (name == "threads") return Threads(*v);
        if (name == "password-fd") return PasswordDescriptor(*v);
        if (name == "password-file") return Password(PasswordFrom::File, *v);
        Password(PasswordFrom::Environment, *v);
    }

    void Shorts(const std::string& letters) {
        for (std::size_t i = 0; i < letters.size() && error_.empty(); ++i) {
            switch (letters[i]) {
                case 'a':
                    options_.armor = true;
                    break;
                case 'f':
                    options_.force = true;
                    break;
                case 'w':
                    options_.wipe = true;
                    break;
                case 'q':
                    options_.quiet = true;
                    break;
                case 'r':
                    options_.recursive = true;
                    break;
                case 'h':
                    options_.help = true;
                    break;
                case 'V':
                    options_.version = true;
                    break;
                case 'p':
                    error_ = NoPasswordArgument();
                    break;
                case 'o': {
                    std::optional<std::string> v = letters.substr(i + 1);
                    if (v->empty()) v = Next("-o");
                    if (v) Set(options_.output, *v, "-o");
                    return;
                }
                default:
                    error_ = std::string("unknown option '-") + letters[i] + "'";
            }
        }
    }

    std::optional<std::string> Next(const std::string& option) {
        if (index_ + 1 >= args_.size()) {
            error_ = "option '" + option + "' needs a value";
            return std::nullopt;
        }
        return args_[++index_];
    }

    void Set(std::optional<std::string>& target, const std::string& value, const char* option) {
        if (target) error_ = std::string("option '") + option + "' given twice";
        target = value;
    }

    void Password(PasswordFrom from, const std::string& name) {
        if (passwordGiven_) {
            error_ = "give only one of --password-fd, --password-file and --password-env";
            return;
        }
        passwordGiven_ = true;
        options_.password.from = from;
        options_.password.name = name;
    }

    void PasswordDescriptor(const std::string& value) {
        if (!DescriptorsReachProgram()) {
            error_ =
                std::string("--password-fd does not work on Windows; use ") + PasswordOptions();
            return;
        }
        int fd = -1;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), fd);
        if (ec != std::errc() || end != value.data() + value.size() || fd < 0) {
            error_ = "--password-fd needs a descriptor number, not '" + value + "'";
            return;
        }
        Password(PasswordFrom::Descriptor, value);
        options_.password.descriptor = fd;
    }

    void Threads(const std::string& value) {
        std::size_t threads = 0;
        const auto [end, ec] = std::from_chars(value.data(), value.data() + value.size(), threads);
        if (ec != std::errc() || end != value.data() + value.size() || threads < 1 ||
            threads > kMaxThreads) {
            error_ = "--threads needs a number from 1 to " + std::to_string(kMaxThreads) +
                     ", not '" + value + "'";
            return;
        }
        options_.threads = threads;
    }

    // Combinations that cannot work, found before anything is read or asked.
    void Check() {
        const Options& o = options_;
        if (o.help || o.version) return;
        if (o.command == Command::None) return Fail("no command given");
        if (IsFileCommand(o.command)) {
            if (o.files.empty()) return Fail("no file given");
            if (o.text) return Fail("--text is for encrypt-text and decrypt-text");
            if (o.output && o.files.size() > 1) return Fail("-o names the output of one file only");
            std::size_t stdinCount = 0;
            for (const std::string& f : o.files) stdinCount += f == "-";
            if (stdinCount > 1) return Fail("standard input ('-') can be read only once");
            if (o.wipe && o.command != Command::Encrypt) return Fail("--wipe is for encrypt only");
            if (o.recursive && (o.output || stdinCount > 0)) {
                return Fail("-r writes each output beside its file; -o and '-' cannot be used");
            }
            if (o.dryRun && !o.recursive) return Fail("--dry-run is for -r");
            if (o.wipe && stdinCount > 0) return Fail("--wipe needs files, not standard input");
            if (o.wipe && o.armor) {
                return Fail(
                    "--wipe checks raw encrypted files only; it cannot be used with --armor");
            }
            if (o.wipe && o.output == "-") {
                return Fail("--wipe needs an output file to check the original against");
            }
        } else {
            if (!o.files.empty()) return Fail("unexpected argument '" + o.files.front() + "'");
            if (o.output || o.armor || o.force || o.wipe || o.recursive || o.dryRun) {
                return Fail("-o, --armor, --force, --wipe, -r and --dry-run are for files");
            }
        }
    }

    void Fail(const std::string& error) { error_ = error; }

    const std::vector<std::string>& args_;
    std::size_t index_ = 0;
    Options options_;
    std::string error_;
    bool passwordGiven_ = false;
};

}  // namespace

ParsedOptions ParseOptions(const std::vector<std::string>& arguments) {
    return Parser(arguments).Run();
}

}  // namespace cli
