#include "write_failures.h"

#include <csignal>
#include <grp.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

bool underFileSizeLimit(long long limitBytes, const std::function<bool()>& op)
{
    return codeUnderFileSizeLimit(limitBytes, [&] { return op() ? 0 : 1; }) == 0;
}

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

}  // namespace

int codeUnderFileSizeLimit(long long limitBytes, const std::function<int()>& op)
{
    return inChild(
        [limitBytes] {
            ::signal(SIGXFSZ, SIG_IGN);
            rlimit limit{rlim_t(limitBytes), rlim_t(limitBytes)};
            ::setrlimit(RLIMIT_FSIZE, &limit);
        },
        op);
}

int codeWithoutRootRights(const std::function<int()>& op)
{
    return inChild(
        [] {
            if (::geteuid() != 0)
                return;
            // "nobody"
            if (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0)
                ::_exit(125);
        },
        op);
}

}  // namespace testing_support
