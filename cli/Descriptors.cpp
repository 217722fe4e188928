#include "cli/Descriptors.h"

#include "cipher/SecureZero.h"

namespace cli {

std::error_code ReadLine(int fd, std::string& line, std::size_t maxLength) {
    line.clear();
    char c;
    for (;;) {
        std::size_t n = 0;
        if (std::error_code ec = fileio::ReadSome(fd, &c, 1, n)) return ec;
        if (n == 0 || c == '\n') return {};
        if (line.size() >= maxLength) {
            cipher::Wipe(line);
            return std::make_error_code(std::errc::value_too_large);
        }
        line += c;
    }
}

}  // namespace cli
