// A minimal command-line front end to the file operations, for tests that
// need the engine in a process of its own (for example to kill it).
//
//     quillbox_filetool encrypt|decrypt SOURCE DESTINATION PASSWORD
//
// Exit status: 0 written, 1 failed (the reason on standard error), 2 usage.

#include <cstring>
#include <iostream>
#include <string>

#include "cipher/clsBlowfish.h"

namespace {

std::u16string Text(const char* utf8) {
    std::u16string text;
    for (const char* p = utf8; *p != '\0'; ++p) text.push_back(static_cast<unsigned char>(*p));
    return text;
}

}  // namespace

int main(int argc, char** argv) {
    const bool encrypt = argc == 5 && std::strcmp(argv[1], "encrypt") == 0;
    const bool decrypt = argc == 5 && std::strcmp(argv[1], "decrypt") == 0;
    if (!encrypt && !decrypt) {
        std::cerr << "usage: quillbox_filetool encrypt|decrypt SOURCE DESTINATION PASSWORD\n";
        return 2;
    }
    // The paths are taken byte for byte, which suits the ASCII paths the
    // tests use.
    std::u16string source = Text(argv[2]), destination = Text(argv[3]), key = Text(argv[4]);
    clsBlowfish cipher;
    const bool written = encrypt ? cipher.EncryptFile(source, destination, true, key)
                                 : cipher.DecryptFile(source, destination, true, key);
    if (!written) {
        std::cerr << cipher.LastError().Message() << '\n';
        return 1;
    }
    return 0;
}
