#include "cli/Usage.h"

namespace cli {

std::string HelpText() {
    return R"(Usage: quillbox-cli encrypt [OPTIONS] FILE...
       quillbox-cli decrypt [OPTIONS] FILE...
       quillbox-cli encrypt-text [--text TEXT] [PASSWORD OPTION]
       quillbox-cli decrypt-text [--text TEXT] [PASSWORD OPTION]

Encrypts and decrypts files and text under a password, in the same format as
the Quillbox window. FILE "-" is standard input.

Files:
  encrypt writes FILE.enc, decrypt writes FILE without its ".enc".
  -o, --output OUT     the output of a single FILE ("-" is standard output)
  -a, --armor          files as Base64 text instead of raw containers
  -f, --force          replace an existing output
  -w, --wipe           after each verified encryption, overwrite and delete
                       the original

Text:
  encrypt-text and decrypt-text read standard input (one line ending dropped)
  or --text TEXT, and write the Base64 or plain text to standard output.

Password (never on the command line; asked on the terminal when none is given):
  --password-fd N      the first line read from file descriptor N
  --password-file F    the first line of file F
  --password-env VAR   the value of environment variable VAR

Other:
  --threads N          work on N threads (default: the usable processors):
                       decryption spreads each file over them, and several
                       files are worked on at once
  -q, --quiet          no progress bar and no hints; only errors
  -h, --help           this text
  -V, --version        the version

Exit status: 0 done, 1 failed, 2 command line unusable, 3 encrypted but an
original could not be wiped, 4 wrong password or not a valid encrypted file.
)";
}

std::string VersionText() {
    return std::string("quillbox-cli ") + QUILLBOX_VERSION + "\n";
}

}  // namespace cli
