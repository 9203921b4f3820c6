#include "core/base/safe_write.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <QSet>

#include <cerrno>
#include <cstring>
#include <limits>
#include <optional>
#include <vector>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace tb {

namespace {

// Plain system calls: every failure is seen with its errno, none is left to a
// buffer flushed (and ignored) at close.
Status writeAll(int fd, const char* data, qint64 size, const QString& path)
{
    while (size > 0) {
        const ssize_t n = ::write(fd, data, size_t(std::min<qint64>(size, 1 << 20)));
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return Error::fromErrno(errno, path);
        }
        data += n;
        size -= n;
    }
    return {};
}

}  // namespace

void syncFolder(const QString& folder)
{
    const int dfd = ::open(QFile::encodeName(folder).constData(), O_RDONLY | O_DIRECTORY);
    if (dfd >= 0) {
        ::fsync(dfd);
        ::close(dfd);
    }
}

class TempFile {
public:
    explicit TempFile(const QString& target) : m_target(target)
    {
        m_path = target + QStringLiteral(".tmp-XXXXXX");
        QByteArray name = QFile::encodeName(m_path);
        m_fd = ::mkstemp(name.data());
        if (m_fd < 0) {
            m_error = Error::fromErrno(errno, target);
            return;
        }
        m_path = QFile::decodeName(name);
        ::fchmod(m_fd, 0644 & ~currentUmask());
        // Held while written: the tidying of abandoned ones leaves it alone.
        ::flock(m_fd, LOCK_EX | LOCK_NB);
    }
    ~TempFile()
    {
        if (m_fd >= 0)
            ::close(m_fd);
        if (!m_committed && !m_path.isEmpty())
            ::unlink(QFile::encodeName(m_path).constData());
    }
    Status status() const { return m_error ? Status(*m_error) : Status(); }
    int fd() const { return m_fd; }

    Status commit()
    {
        if (::fsync(m_fd) != 0)
            return Error::fromErrno(errno, m_target);
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0)
            return Error::fromErrno(errno, m_target);
        if (::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(m_target).constData()) != 0)
            return Error::fromErrno(errno, m_target);
        m_committed = true;
        syncFolder(QFileInfo(m_target).absolutePath());
        return {};
    }

    // Closes the written file, left under its temporary name: a copy of
    // thousands of files keeps no more than one open at a time.
    Status close()
    {
        const int fd = m_fd;
        m_fd = -1;
        if (::close(fd) != 0)
            return Error::fromErrno(errno, m_target);
        return {};
    }

    // The closed file already on disk (syncfs): renamed without a flush of its own.
    Status renameSynced()
    {
        if (::rename(QFile::encodeName(m_path).constData(), QFile::encodeName(m_target).constData()) != 0)
            return Error::fromErrno(errno, m_target);
        m_committed = true;
        return {};
    }

private:
    static mode_t currentUmask()
    {
        const mode_t m = ::umask(0);
        ::umask(m);
        return m;
    }

    QString m_target, m_path;
    int m_fd = -1;
    bool m_committed = false;
    std::optional<Error> m_error;
};

namespace {
constexpr qsizetype kWriterBuffer = 1 << 20;
}  // namespace

AtomicFileWriter::AtomicFileWriter(const QString& path) : m_path(path)
{
    if (QFileInfo(path).isDir()) {
        m_status = Error::fromErrno(EISDIR, path);
        return;
    }
    // Writes this large are exports: a killed one left its temporary file beside the user's.
    removeAbandonedTemporaries(QFileInfo(path).absolutePath());
    m_temp = std::make_unique<TempFile>(path);
    m_status = m_temp->status();
    m_buffer = QByteArray(kWriterBuffer, Qt::Uninitialized);
}

AtomicFileWriter::~AtomicFileWriter() = default;

char* AtomicFileWriter::reserve(qsizetype n)
{
    if (m_used + n > m_buffer.size()) {
        flush();
        if (n > m_buffer.size())
            m_buffer = QByteArray(n, Qt::Uninitialized);
    }
    char* at = m_buffer.data() + m_used;
    m_used += n;
    return at;
}

void AtomicFileWriter::append(QByteArrayView bytes)
{
    std::memcpy(reserve(bytes.size()), bytes.data(), size_t(bytes.size()));
}

void AtomicFileWriter::flush()
{
    if (m_status && m_used > 0) {
        m_status = writeAll(m_temp->fd(), m_buffer.constData(), m_used, m_path);
        // The disk starts on each block at once, while the next is made:
        // commit's sync then has little left to wait for.
        if (m_status)
            ::sync_file_range(m_temp->fd(), ::lseek(m_temp->fd(), 0, SEEK_CUR) - m_used, m_used,
                              SYNC_FILE_RANGE_WRITE);
    }
    m_used = 0;
}

Status AtomicFileWriter::commit()
{
    flush();
    if (!m_status)
        return m_status;
    m_status = m_temp->commit();
    return m_status;
}

Status writeFileAtomic(const QString& path, const QByteArray& bytes)
{
    // A folder in the file's place is never replaced.
    if (QFileInfo(path).isDir())
        return Error::fromErrno(EISDIR, path);
    TempFile temp(path);
    if (!temp.status())
        return temp.status();
    if (Status s = writeAll(temp.fd(), bytes.constData(), bytes.size(), path); !s)
        return s;
    return temp.commit();
}

namespace {

// Copies the open file in into temp, through block.
Status copyInto(int in, TempFile& temp, const QString& src, const QString& dst, QByteArray& block)
{
    Status result = temp.status();
    while (result) {
        const ssize_t n = ::read(in, block.data(), size_t(block.size()));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0)
            result = Error::fromErrno(errno, src);
        if (n <= 0)
            break;
        result = writeAll(temp.fd(), block.constData(), n, dst);
    }
    return result;
}

}  // namespace

Status copyFileReplacing(const QString& src, const QString& dst)
{
    const int in = ::open(QFile::encodeName(src).constData(), O_RDONLY);
    if (in < 0)
        return Error::fromErrno(errno, src);
    if (QFileInfo(dst).isDir()) {
        ::close(in);
        return Error::fromErrno(EISDIR, dst);
    }
    TempFile temp(dst);
    QByteArray block(1 << 20, Qt::Uninitialized);
    const Status result = copyInto(in, temp, src, dst, block);
    ::close(in);
    if (!result)
        return result;
    return temp.commit();
}

Status copyFilesReplacing(const QList<std::pair<QString, QString>>& copies, MissingSource missing)
{
    std::vector<std::unique_ptr<TempFile>> temps;
    std::vector<qsizetype> copied;
    QByteArray block(1 << 20, Qt::Uninitialized);
    for (qsizetype i = 0; i < copies.size(); ++i) {
        const auto& [src, dst] = copies[i];
        const int in = ::open(QFile::encodeName(src).constData(), O_RDONLY);
        if (in < 0 && errno == ENOENT && missing == MissingSource::Skip)
            continue;
        if (in < 0)
            return Error::fromErrno(errno, src);
        auto temp = std::make_unique<TempFile>(dst);
        Status result = copyInto(in, *temp, src, dst, block);
        ::close(in);
        if (result)
            result = temp->close();
        if (!result)
            return result;
        temps.push_back(std::move(temp));
        copied.push_back(i);
    }
    if (temps.empty())
        return {};
    // One flush of the file system for all the copies, then the renames.
    const QString first = QFileInfo(copies[copied.front()].second).absolutePath();
    const int dfd = ::open(QFile::encodeName(first).constData(), O_RDONLY | O_DIRECTORY);
    if (dfd < 0)
        return Error::fromErrno(errno, first);
    const bool synced = ::syncfs(dfd) == 0;
    const int syncError = errno;
    ::close(dfd);
    if (!synced)
        return Error::fromErrno(syncError, copies[copied.front()].second);
    QSet<QString> folders;
    for (size_t k = 0; k < temps.size(); ++k) {
        if (Status s = temps[k]->renameSynced(); !s)
            return s;
        folders.insert(QFileInfo(copies[copied[k]].second).absolutePath());
    }
    for (const QString& folder : folders)
        syncFolder(folder);
    return {};
}

namespace {

// The (source, target) pairs of every file under from, the folders made.
Status listCopies(const QString& from, const QString& to, const QStringList& first,
                  const QStringList& leaveOut, QList<std::pair<QString, QString>>& copies)
{
    if (!QDir().mkpath(to))
        return Error::fromErrno(errno ? errno : EACCES, to);
    const QDir source(from);
    if (!source.exists())
        return Error::fromErrno(ENOENT, from);
    const QString target = to.endsWith(u'/') ? to : to + u'/';
    const QStringList files = source.entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name);
    QSet<QString> listed;
    for (const QString& name : first)
        if (files.contains(name)) {
            copies.append({source.filePath(name), target + name});
            listed.insert(name);
        }
    // The temporary files of a write in progress are not part of the folder.
    static const QRegularExpression temporary(QStringLiteral("\\.tmp-[A-Za-z0-9]{6}$"));
    for (const QString& name : files)
        if (!listed.contains(name) && !leaveOut.contains(name) && !temporary.match(name).hasMatch())
            copies.append({source.filePath(name), target + name});
    for (const QString& sub : source.entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot, QDir::Name))
        if (Status s = listCopies(source.filePath(sub), target + sub, {}, {}, copies); !s)
            return s;
    return {};
}

}  // namespace

Status copyFolder(const QString& from, const QString& to, const QStringList& first, const QStringList& leaveOut)
{
    QList<std::pair<QString, QString>> copies;
    if (Status s = listCopies(from, to, first, leaveOut, copies); !s)
        return s;
    // A file removed since the listing (a card deleted meanwhile) is not copied.
    return copyFilesReplacing(copies, MissingSource::Skip);
}

Result<QByteArray> readFileStart(const QString& path, qint64 maxBytes)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0)
        return Error::fromErrno(errno, path);
    struct stat st {};
    if (::fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        const int err = S_ISDIR(st.st_mode) ? EISDIR : errno ? errno : EINVAL;
        ::close(fd);
        if (err == EISDIR)
            return Error::fromErrno(EISDIR, path);
        return Error{kErrorPathAccess, QStringLiteral("erreur d'accès au fichier (") + QFileInfo(path).fileName()
                                           + QStringLiteral(" n'est pas un fichier ordinaire)")};
    }
    QByteArray bytes(qsizetype(std::min<qint64>(maxBytes, std::max<qint64>(st.st_size, 0))), Qt::Uninitialized);
    qsizetype got = 0;
    for (;;) {
        if (got == bytes.size()) {
            // The file grew since fstat: read on, within the bound.
            if (got >= maxBytes)
                break;
            bytes.resize(qsizetype(std::min<qint64>(maxBytes, got + 65536)));
        }
        const ssize_t n = ::read(fd, bytes.data() + got, size_t(bytes.size() - got));
        if (n < 0 && errno == EINTR)
            continue;
        if (n < 0) {
            const int err = errno;
            ::close(fd);
            return Error::fromErrno(err, path);
        }
        if (n == 0)
            break;
        got += n;
    }
    ::close(fd);
    bytes.resize(got);
    return bytes;
}

Result<QByteArray> readFile(const QString& path)
{
    return readFileStart(path, std::numeric_limits<qsizetype>::max());
}

void removeAbandonedTemporaries(const QString& folder)
{
    static const QRegularExpression temporary(QStringLiteral("\\.tmp-[A-Za-z0-9]{6}$"));
    const QDir dir(folder);
    for (const QString& name : dir.entryList({QStringLiteral("*.tmp-??????")}, QDir::Files | QDir::Hidden | QDir::System)) {
        if (!temporary.match(name).hasMatch())
            continue;
        const QByteArray path = QFile::encodeName(dir.filePath(name));
        const int fd = ::open(path.constData(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
        if (fd < 0)
            continue;
        struct stat st {};
        if (::fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && ::flock(fd, LOCK_EX | LOCK_NB) == 0)
            ::unlink(path.constData());
        ::close(fd);
    }
}

QByteArray readWholeFile(const QString& path)
{
    const Result<QByteArray> r = readFile(path);
    return r ? r.value() : QByteArray();
}

}  // namespace tb
