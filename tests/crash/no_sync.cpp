// Preloaded into the crash test's worker: a killed process loses nothing that
// reached the kernel, so syncs only slow it down. Without them the worker
// makes many more changes between kills. (Syncs are checked by the power-cut test.)
// It also counts the steps of a change (syncs, renames, links, record writes,
// truncations, removals) and can kill the
// process just before a chosen one (tabulon_kill_before_step).
#include <atomic>
#include <csignal>
#include <cstdio>
#include <dlfcn.h>
#include <fcntl.h>
#include <unistd.h>

namespace {
std::atomic<long> stepsLeft{0};  // 0: no kill to come

void step()
{
    if (stepsLeft.load() > 0 && stepsLeft.fetch_sub(1) == 1)
        ::raise(SIGKILL);
}

template <typename F>
F next(const char* name)
{
    return reinterpret_cast<F>(::dlsym(RTLD_NEXT, name));
}
}  // namespace

// The nth sync or rename from now on never happens: the process dies first.
extern "C" void tabulon_kill_before_step(long n)
{
    stepsLeft = n;
}

extern "C" int fsync(int)
{
    step();
    return 0;
}

extern "C" int fdatasync(int)
{
    step();
    return 0;
}

extern "C" int syncfs(int)
{
    step();
    return 0;
}

extern "C" void sync()
{
    step();
}

extern "C" int rename(const char* from, const char* to)
{
    step();
    static const auto real = next<int (*)(const char*, const char*)>("rename");
    return real(from, to);
}

extern "C" int renameat(int fromDir, const char* from, int toDir, const char* to)
{
    step();
    static const auto real = next<int (*)(int, const char*, int, const char*)>("renameat");
    return real(fromDir, from, toDir, to);
}

extern "C" int renameat2(int fromDir, const char* from, int toDir, const char* to, unsigned flags)
{
    step();
    static const auto real = next<int (*)(int, const char*, int, const char*, unsigned)>("renameat2");
    return real(fromDir, from, toDir, to, flags);
}

extern "C" int link(const char* from, const char* to)
{
    step();
    static const auto real = next<int (*)(const char*, const char*)>("link");
    return real(from, to);
}

extern "C" int linkat(int fromDir, const char* from, int toDir, const char* to, int flags)
{
    step();
    static const auto real = next<int (*)(int, const char*, int, const char*, int)>("linkat");
    return real(fromDir, from, toDir, to, flags);
}

extern "C" ssize_t pwrite(int fd, const void* data, size_t size, off_t at)
{
    step();
    static const auto real = next<ssize_t (*)(int, const void*, size_t, off_t)>("pwrite");
    return real(fd, data, size, at);
}

extern "C" int truncate(const char* path, off_t size)
{
    step();
    static const auto real = next<int (*)(const char*, off_t)>("truncate");
    return real(path, size);
}

extern "C" int ftruncate(int fd, off_t size)
{
    step();
    static const auto real = next<int (*)(int, off_t)>("ftruncate");
    return real(fd, size);
}

extern "C" int unlink(const char* path)
{
    step();
    static const auto real = next<int (*)(const char*)>("unlink");
    return real(path);
}
