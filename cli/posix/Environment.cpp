#include "cli/Environment.h"

#include <cstdlib>
#include <cstring>

#include "cipher/SecureZero.h"

namespace cli {

bool TakeVariable(const std::string& name, std::string& value) {
    char* text = std::getenv(name.c_str());
    if (text == nullptr) return false;
    const std::size_t length = std::strlen(text);
    if (value.capacity() < length) value.reserve(length);
    value.assign(text, length);
    cipher::SecureZero(text, length);
    ::unsetenv(name.c_str());
    return true;
}

}  // namespace cli
