#include "core/UsageText.h"

#include <string_view>

#include "core/Messages.h"
#include "core/Utf8.h"

namespace core {

namespace usage {

namespace {

std::u16string Sentence(const char* english, Translator translate) {
    if (translate != nullptr) return translate(english);
    return DecodeArgument(english);
}

// The text with "%1" replaced by argument.
std::u16string Fill(std::u16string text, std::u16string_view argument) {
    const std::size_t at = text.find(u"%1");
    if (at != std::u16string::npos) text.replace(at, 2, argument);
    return text;
}

}  // namespace

std::u16string Text(Translator translate) {
    const std::u16string pw = kExamplePassword;
    const std::u16string lines[] = {
        Fill(Sentence(QUILLBOX_TRANSLATE_NOOP("UsageText",
                                              "Quillbox by the Quillbox developers Version:%1"),
                      translate),
             DecodeArgument(QUILLBOX_VERSION)),
        Sentence(QUILLBOX_TRANSLATE_NOOP("UsageText", "Usage: "), translate),
        u"Quillbox /decrypt /string /" + pw + u" /" + kExampleCiphertext,
        u"Quillbox /encrypt /string /" + pw + u" /This is a string encryption test.",
        Sentence(
            QUILLBOX_TRANSLATE_NOOP("UsageText", "The decrypted result will be in the clipboard"),
            translate),
        std::u16string(),
        u"Quillbox /encrypt /c:\\test-file.txt /" + pw + u" /c:\\test-file.txt.enc",
        u"Quillbox /encrypt /c:\\test-file.txt.enc /" + pw + u" /c:\\test-file.txt",
        Fill(Sentence(
                 QUILLBOX_TRANSLATE_NOOP("UsageText", "%1 is the password in the above examples."),
                 translate),
             pw),
        Sentence(QUILLBOX_TRANSLATE_NOOP("UsageText",
                                         "if you use -ask for password you will be asked for "
                                         "password when the program is executed."),
                 translate),
    };
    std::u16string text;
    for (std::size_t i = 0; i < std::size(lines); ++i) {
        if (i > 0) text += u"\r\n";
        text += lines[i];
    }
    return text;
}

std::u16string DesktopOptionsText() {
    return u"Quillbox --encrypt FILE...  encrypt each file as the window's Encrypt button does "
           u"(password, retype, \"Wipe original?\");\n"
           u"                            without a file, choose one first\n"
           u"Quillbox --decrypt FILE...  decrypt each file as the window's Decrypt button does\n"
           u"Quillbox --help, -h         show this text\n"
           u"Quillbox --version          show the version\n"
           u"Without arguments the main window opens.\n"
           u"\n"
           u"Exit status: 0 done, 1 failed or cancelled, 2 unusable command line, 3 encrypted "
           u"but the original not wiped, 4 wrong password or not an encrypted file.\n";
}

}  // namespace usage

}  // namespace core
