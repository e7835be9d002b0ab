// Preloaded into the save loop for half of the kills: open() with O_TMPFILE fails as it does
// on file systems without unnamed files (FAT, NFS, older overlay mounts), so that QSaveFile
// falls back to a named temporary file, which a kill leaves behind.
#include <cerrno>
#include <cstdarg>
#include <dlfcn.h>
#include <fcntl.h>

namespace {

using Open = int (*)(const char *, int, ...);
using OpenAt = int (*)(int, const char *, int, ...);

template <typename F> F next(const char *name)
{
    return reinterpret_cast<F>(dlsym(RTLD_NEXT, name));
}

bool refused(int flags)
{
    if ((flags & O_TMPFILE) != O_TMPFILE)
        return false;
    errno = EOPNOTSUPP;
    return true;
}

// The mode argument, which only a call that may create a file passes.
int modeOf(int flags, va_list args)
{
    return (flags & (O_CREAT | O_TMPFILE)) ? va_arg(args, int) : 0;
}

} // namespace

extern "C" int open(const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const int mode = modeOf(flags, args);
    va_end(args);
    static const Open real = next<Open>("open");
    return refused(flags) ? -1 : real(path, flags, mode);
}

extern "C" int openat(int dir, const char *path, int flags, ...)
{
    va_list args;
    va_start(args, flags);
    const int mode = modeOf(flags, args);
    va_end(args);
    static const OpenAt real = next<OpenAt>("openat");
    return refused(flags) ? -1 : real(dir, path, flags, mode);
}

// On this platform the 64-bit names are the same functions.
extern "C" int open64(const char *path, int flags, ...) __attribute__((alias("open")));
extern "C" int openat64(int dir, const char *path, int flags, ...) __attribute__((alias("openat")));
