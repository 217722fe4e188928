#include "core/CommandLine.h"

#include <vector>

namespace core {

namespace commandline {

namespace {

constexpr char16_t kSeparator = u'/';
constexpr std::size_t kLastField = 4;
constexpr std::size_t kSuffixLength = 4;  // ".enc", or whatever the last four characters are

// Splits at every separator; empty pieces count like any other. Pieces after
// the last field are joined back onto it with their separators, so the last
// field is exactly the text after the fourth separator.
std::vector<std::u16string_view> SplitFields(std::u16string_view text) {
    std::vector<std::u16string_view> fields;
    std::size_t start = 0;
    while (fields.size() < kLastField) {
        const std::size_t slash = text.find(kSeparator, start);
        if (slash == std::u16string_view::npos) break;
        fields.push_back(text.substr(start, slash - start));
        start = slash + 1;
    }
    fields.push_back(text.substr(start));
    return fields;
}

// Whether text is `lowerWord` in any case of A-Z. Makes no copy, since the
// text may be a password.
bool EqualsIgnoringAsciiCase(std::u16string_view text, std::u16string_view lowerWord) {
    if (text.size() != lowerWord.size()) return false;
    for (std::size_t i = 0; i < text.size(); ++i) {
        char16_t c = text[i];
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
        if (c != lowerWord[i]) return false;
    }
    return true;
}

bool IsWord(std::u16string_view field, std::u16string_view word) {
    return EqualsIgnoringAsciiCase(TrimSpaces(field), word);
}

// The default destination when the command line names none.
Action WithDerivedDestination(Action action, Command& command) {
    if (action == Action::EncryptFile) {
        command.destination = command.source + u".enc";
        return action;
    }
    // Decryption drops the last four characters. A source of four characters
    // or fewer would leave no name at all, so that command line is unusable.
    if (command.source.size() <= kSuffixLength) return Action::Usage;
    command.destination = command.source.substr(0, command.source.size() - kSuffixLength);
    return action;
}

Action Dispatch(const std::vector<std::u16string_view>& fields, Command& command) {
    const bool encrypt = IsWord(fields[1], u"encrypt");
    if (!encrypt && !IsWord(fields[1], u"decrypt")) return Action::Usage;

    const bool hasLastField = fields.size() > kLastField;
    if (IsWord(fields[2], u"string")) {
        if (!hasLastField) return Action::Usage;
        command.text = std::u16string(fields[kLastField]);
        return encrypt ? Action::EncryptString : Action::DecryptString;
    }
    const Action action = encrypt ? Action::EncryptFile : Action::DecryptFile;
    return hasLastField ? action : WithDerivedDestination(action, command);
}

}  // namespace

std::u16string_view TrimSpaces(std::u16string_view text) {
    const std::size_t first = text.find_first_not_of(u' ');
    if (first == std::u16string_view::npos) return {};
    const std::size_t last = text.find_last_not_of(u' ');
    return text.substr(first, last - first + 1);
}

std::u16string ToLowerAscii(std::u16string_view text) {
    std::u16string lower(text);
    for (char16_t& c : lower) {
        if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
    }
    return lower;
}

Command Parse(std::u16string_view argumentText) {
    Command command;
    if (argumentText.empty()) return command;

    const std::vector<std::u16string_view> fields = SplitFields(argumentText);
    if (fields.size() <= 3) {
        command.action = Action::Usage;
        return command;
    }
    command.source = std::u16string(TrimSpaces(fields[2]));
    if (fields.size() > kLastField) {
        command.destination = std::u16string(TrimSpaces(fields[kLastField]));
    }
    command.password = std::u16string(TrimSpaces(fields[3]));
    if (EqualsIgnoringAsciiCase(command.password, u"-ask")) {
        command.password.clear();
        command.askPassword = true;
    }
    command.action = Dispatch(fields, command);
    return command;
}

}  // namespace commandline

}  // namespace core
