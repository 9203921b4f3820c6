#include "write_failures.h"

#include <csignal>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

namespace {

bool underLimit(int resource, long long value, const std::function<bool()>& op)
{
    const pid_t pid = ::fork();
    if (pid == 0) {
        ::signal(SIGXFSZ, SIG_IGN);
        rlimit limit{rlim_t(value), rlim_t(value)};
        ::setrlimit(resource, &limit);
        ::_exit(op() ? 0 : 1);
    }
    int status = 0;
    if (pid < 0 || ::waitpid(pid, &status, 0) != pid)
        return false;
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

}  // namespace

bool underFileSizeLimit(long long limitBytes, const std::function<bool()>& op)
{
    return underLimit(RLIMIT_FSIZE, limitBytes, op);
}

bool underOpenFileLimit(long long maxFiles, const std::function<bool()>& op)
{
    return underLimit(RLIMIT_NOFILE, maxFiles, op);
}

}  // namespace testing_support
