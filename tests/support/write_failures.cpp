#include "write_failures.h"

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

namespace {

int inChild(const std::function<void()>& prepare, const std::function<int()>& op)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        prepare();
        ::_exit(op());
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid)
        return -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

// A limit for the child, past which writes fail instead of killing it.
void limit(int resource, long long value)
{
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit l{rlim_t(value), rlim_t(value)};
    ::setrlimit(resource, &l);
}

}  // namespace

int codeUnderFileSizeLimit(long long limitBytes, const std::function<int()>& op)
{
    return inChild([limitBytes] { limit(RLIMIT_FSIZE, limitBytes); }, op);
}

bool underFileSizeLimit(long long limitBytes, const std::function<bool()>& op)
{
    return codeUnderFileSizeLimit(limitBytes, [&] { return op() ? 0 : 1; }) == 0;
}

bool underOpenFileLimit(long long maxFiles, const std::function<bool()>& op)
{
    return inChild([maxFiles] { limit(RLIMIT_NOFILE, maxFiles); }, [&] { return op() ? 0 : 1; }) == 0;
}

int codeWithoutRootRights(const std::function<int()>& op)
{
    return inChild(
        [] {  // root becomes "nobody"
            if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(125);
        },
        op);
}

}  // namespace testing_support
