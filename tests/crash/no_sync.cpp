// Preloaded into the crash test's worker: a killed process loses nothing that
// reached the kernel, so syncs only slow it down (the power-cut test checks
// them). Counts the steps of a change (syncs, renames, links, record writes,
// truncations, removals) and can kill the process just before a chosen one.
#include <atomic>
#include <csignal>
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
}  // namespace

// The nth step from now on never happens: the process dies first.
extern "C" void tabulon_kill_before_step(long n) { stepsLeft = n; }

// A sync is a step that does nothing; any other step goes on to the real call.
#define SKIPPED(ret, name, params) \
    extern "C" ret name params { step(); return ret(); }
#define COUNTED(ret, name, params, args)                                                  \
    extern "C" ret name params                                                            \
    {                                                                                     \
        step();                                                                           \
        static const auto real = reinterpret_cast<ret(*) params>(::dlsym(RTLD_NEXT, #name)); \
        return real args;                                                                 \
    }

SKIPPED(int, fsync, (int))
SKIPPED(int, fdatasync, (int))
SKIPPED(int, syncfs, (int))
SKIPPED(void, sync, ())
COUNTED(int, rename, (const char* from, const char* to), (from, to))
COUNTED(int, renameat, (int fd, const char* from, int toFd, const char* to), (fd, from, toFd, to))
COUNTED(int, renameat2, (int fd, const char* from, int toFd, const char* to, unsigned f), (fd, from, toFd, to, f))
COUNTED(int, link, (const char* from, const char* to), (from, to))
COUNTED(int, linkat, (int fd, const char* from, int toFd, const char* to, int flags), (fd, from, toFd, to, flags))
COUNTED(ssize_t, pwrite, (int fd, const void* data, size_t size, off_t at), (fd, data, size, at))
COUNTED(int, truncate, (const char* path, off_t size), (path, size))
COUNTED(int, ftruncate, (int fd, off_t size), (fd, size))
COUNTED(int, unlink, (const char* path), (path))
