#pragma once
// Writes that fail as on a full disk or a folder the user may not write: the
// operation runs in a child process with a small limit or without root rights.
#include <QDir>
#include <QFile>
#include <csignal>
#include <functional>
#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace testing_support {

namespace detail {

// A child forked while another thread holds a lock of the allocator (the
// sanitizers' has no fork handler) would wait on it for ever: the fork waits
// until the other threads are asleep, and a child stuck past a minute is
// killed and made once more.
inline void waitForOtherThreadsAsleep()
{
    const QString self = QString::number(::gettid());
    for (int tries = 0; tries < 200; ++tries) {
        bool busy = false;
        for (const QString& task : QDir(QStringLiteral("/proc/self/task")).entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
            QFile stat(QStringLiteral("/proc/self/task/") + task + QStringLiteral("/stat"));
            if (task == self || !stat.open(QIODevice::ReadOnly))
                continue;
            const QByteArray line = stat.readAll();
            const qsizetype at = line.lastIndexOf(')');
            busy = busy || (at >= 0 && line.mid(at + 2, 1) == "R");
        }
        if (!busy)
            return;
        ::usleep(10000);
    }
}

// What op returned in a child made ready by prepare (0 to 255); -1 when the child died.
inline int inChild(const std::function<void()>& prepare, const std::function<int()>& op)
{
    for (int attempt = 0; attempt < 2; ++attempt) {
        waitForOtherThreadsAsleep();
        const pid_t pid = ::fork();
        if (pid == 0) {
            prepare();
            ::_exit(op());
        }
        if (pid < 0)
            return -1;
        int status = 0;
        pid_t done = 0;
        for (int waited = 0; (done = ::waitpid(pid, &status, WNOHANG)) == 0 && waited < 60000; ++waited)
            ::usleep(1000);
        if (done == pid)
            return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        ::kill(pid, SIGKILL);
        ::waitpid(pid, &status, 0);
    }
    return -1;
}

// A limit for the child, past which writes fail instead of killing it.
inline void limit(int resource, long long value)
{
    ::signal(SIGXFSZ, SIG_IGN);
    const rlimit l{rlim_t(value), rlim_t(value)};
    ::setrlimit(resource, &l);
}

}  // namespace detail

// op runs in a child whose files are limited to limitBytes (writes past it fail with EFBIG).
inline int codeUnderFileSizeLimit(long long limitBytes, const std::function<int()>& op)
{
    return detail::inChild([limitBytes] { detail::limit(RLIMIT_FSIZE, limitBytes); }, op);
}
inline bool underFileSizeLimit(long long limitBytes, const std::function<bool()>& op)
{
    return codeUnderFileSizeLimit(limitBytes, [&] { return op() ? 0 : 1; }) == 0;
}
// The same with at most maxFiles files open at once (EMFILE past it).
inline bool underOpenFileLimit(long long maxFiles, const std::function<bool()>& op)
{
    return detail::inChild([maxFiles] { detail::limit(RLIMIT_NOFILE, maxFiles); }, [&] { return op() ? 0 : 1; }) == 0;
}
// op runs with no more rights than an ordinary user (root becomes "nobody"), so that permissions stop its writes.
inline int codeWithoutRootRights(const std::function<int()>& op)
{
    return detail::inChild(
        [] {
            if (::geteuid() == 0 && (::setgroups(0, nullptr) != 0 || ::setgid(65534) != 0 || ::setuid(65534) != 0))
                ::_exit(125);
        },
        op);
}

// A folder (ending with "/") and its files made read-only for an ordinary user, or writable again.
inline void setFolderWritable(const QString& folder, bool writable)
{
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden))
        ::chmod(QFile::encodeName(folder + name).constData(), writable ? 0644 : 0444);
    ::chmod(QFile::encodeName(folder).constData(), writable ? 0755 : 0555);
}

}  // namespace testing_support
