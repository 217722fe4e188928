// Linked with --wrap=openat into a second build of the file tool: the file
// system then seems to have no unnamed temporary files, so the engine falls
// back to named ".quillbox-" files, whose removal on a signal can be seen.

#include <fcntl.h>

#include <cerrno>
#include <cstdarg>

extern "C" int __real_openat(int folder, const char* path, int flags, ...);

extern "C" int __wrap_openat(int folder, const char* path, int flags, ...) {
    if ((flags & O_TMPFILE) == O_TMPFILE) {
        errno = EOPNOTSUPP;
        return -1;
    }
    mode_t mode = 0;
    if ((flags & O_CREAT) != 0) {
        va_list args;
        va_start(args, flags);
        mode = va_arg(args, mode_t);
        va_end(args);
    }
    return __real_openat(folder, path, flags, mode);
}
