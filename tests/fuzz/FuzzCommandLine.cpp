// The command-line parser on any argument text: it never fails, and what it
// returns keeps the grammar's promises.

#include <algorithm>
#include <optional>
#include <string_view>

#include "core/CommandLine.h"
#include "tests/fuzz/FuzzSupport.h"

using namespace fuzzsupport;
using core::commandline::Action;
using core::commandline::Command;
using core::commandline::Parse;

namespace {

bool Trimmed(const std::u16string& field) {
    return field.empty() || (field.front() != u' ' && field.back() != u' ');
}

// The text after the n-th "/" (n from 1), or nothing.
std::optional<std::u16string_view> After(std::u16string_view text, std::size_t n) {
    std::size_t at = 0;
    for (std::size_t i = 0; i < n; ++i) {
        at = text.find(u'/', at);
        if (at == std::u16string_view::npos) return std::nullopt;
        ++at;
    }
    return text.substr(at);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::u16string text = TextFromInput(data, size);
    const Command command = Parse(text);
    Require(Parse(text) == command, "parsing is repeatable");

    if (text.empty()) {
        Require(command.action == Action::Interactive, "empty text is interactive use");
        return 0;
    }
    Require(command.action != Action::Interactive, "non-empty text is command-line mode");
    const auto slashes = std::count(text.begin(), text.end(), u'/');
    if (slashes < 3) {
        Require(command.action == Action::Usage, "fewer than three slashes shows the usage");
        return 0;
    }

    // The lead-in is ignored, and the operation word's case does not matter.
    const std::size_t firstSlash = text.find(u'/');
    Require(Parse(u"run" + text.substr(firstSlash)) == command, "the lead-in is ignored");
    std::u16string shouted = text;
    const std::size_t secondSlash = text.find(u'/', firstSlash + 1);
    for (std::size_t i = firstSlash; i < secondSlash; ++i) {
        if (shouted[i] >= u'a' && shouted[i] <= u'z') {
            shouted[i] = static_cast<char16_t>(shouted[i] - u'a' + u'A');
        }
    }
    Require(Parse(shouted) == command, "the operation word's case is ignored");

    if (command.action == Action::Usage) return 0;
    Require(command.source.find(u'/') == std::u16string::npos, "no slash in the source");
    Require(command.password.find(u'/') == std::u16string::npos, "no slash in the password");
    Require(Trimmed(command.source) && Trimmed(command.password), "fields are trimmed");
    Require(!command.askPassword || command.password.empty(), "-ask leaves no password");

    const std::optional<std::u16string_view> last = After(text, 4);
    if (command.action == Action::EncryptString || command.action == Action::DecryptString) {
        Require(last && command.text == *last, "the string is everything after the 4th slash");
    } else if (last) {
        Require(command.destination == core::commandline::TrimSpaces(*last),
                "a given destination is the trimmed last field");
    } else if (command.action == Action::EncryptFile) {
        Require(command.destination == command.source + u".enc", "default .enc destination");
    } else {
        Require(command.source.size() > 4 &&
                    command.destination == command.source.substr(0, command.source.size() - 4),
                "default destination drops four characters");
    }
    return 0;
}
