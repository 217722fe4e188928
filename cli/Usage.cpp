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
  -a, --armor          encrypt to Base64 text instead of a raw container;
                       decrypt finds Base64 input by itself (-a forces it)
  -f, --force          replace an existing output
  -w, --wipe           after each verified encryption, overwrite and delete
                       the original
  -r, --recursive      FILE may be a folder: every regular file below it,
                       hidden ones included (decrypt: every *.enc), each
                       written beside its source; one password for all.
                       Symbolic links, devices, pipes and sockets are skipped
                       and never followed, as are files ending in .enc when
                       encrypting and, without --force, existing outputs.
                       Ctrl-C stops before the next chunk: the file being
                       worked on is left as it was, the summary says where
      --dry-run        with -r: list what would be done, do nothing

Text:
  encrypt-text and decrypt-text read standard input (one line ending dropped)
  or --text TEXT, and write the Base64 or plain text to standard output.

Password (never on the command line; asked on the terminal when none is given):
  --password-fd N      the first line of file descriptor N (not on Windows)
  --password-file F    the first line of file F
  --password-env VAR   the value of environment variable VAR

Other:
  --threads N          work on N threads (default: the usable processors):
                       decryption spreads each file over them, and several
                       files are worked on at once
  -q, --quiet          no progress bar and no hints; only errors
  -h, --help           this text
  -V, --version        the version

Exit status: 0 done, 1 failed or stopped, 2 command line unusable, 3 encrypted
but an original could not be wiped, 4 wrong password or not a valid encrypted
file. With -r the worst of the files' statuses; a skip alone leaves it 0.
)";
}

std::string VersionText() {
    return std::string("quillbox-cli ") + QUILLBOX_VERSION + "\n";
}

}  // namespace cli
