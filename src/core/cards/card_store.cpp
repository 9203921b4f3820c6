#include "core/cards/card_store.h"

#include "core/base/number_text.h"
#include "core/base/safe_write.h"
#include "core/base/value_files.h"
#include "core/db/count_file.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

#include <cerrno>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

const QString kRecords = QString::fromLatin1(tb::kRecordFileName);
const QString kCount = QString::fromLatin1(tb::kCountFileName);
const QString kCaptions = QStringLiteral("StrFic.txt");
constexpr int kCaptionCount = 10;
using tb::preadAll;

class Fd {
public:
    explicit Fd(int fd) : m_fd(fd) {}
    ~Fd()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    int get() const { return m_fd; }

private:
    int m_fd;
};

bool pwriteAll(int fd, const char* data, qint64 size, qint64 at)
{
    while (size > 0) {
        const ssize_t n = ::pwrite(fd, data, size_t(size), at);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            return false;
        }
        data += n;
        size -= n;
        at += n;
    }
    return true;
}

// A link named "lesfiches.dat" may lead anywhere: records go only to a file of
// the database folder.
tb::Status refuseLinkOutside(const QString& folder, const QString& path)
{
    const QFileInfo info(path);
    if (!info.isSymLink())
        return {};
    const QString target = info.canonicalFilePath();
    const QString inside = QFileInfo(folder).canonicalFilePath() + u'/';
    if (!target.isEmpty() && target.startsWith(inside) && !target.mid(inside.size()).contains(u'/'))
        return {};
    return tb::Error{tb::kErrorPermission, QStringLiteral("permission refusée (") + info.fileName()
                                               + QStringLiteral(" est un lien vers un fichier hors de la base)")};
}

}  // namespace

CardStore::CardStore(QString folder) : m_folder(std::move(folder)) {}

QString CardStore::recordFile() const
{
    return file(kRecords);
}

QString CardStore::sideFile(const QString& prefix, long long n, const QString& extension) const
{
    return m_folder + prefix + tb::plainNumber(n) + extension;
}

CardStore::CountReading CardStore::readCount() const
{
    CountReading r;
    const QString text = tb::readFirstValue(file(kCount), &r.exists);
    if (const std::optional<long long> n = tb::wholeCount(text.toStdString())) {
        r.valid = true;
        r.value = *n;
    }
    return r;
}

tb::Status CardStore::writeCount(long long count) const
{
    return tb::writeValueFile(file(kCount), tb::plainNumber(std::max(0LL, count)));
}

long long CardStore::recordsInFile() const
{
    const QFileInfo info(recordFile());
    return info.isFile() ? info.size() / CardRecord::kSize : 0;
}

tb::Result<long long> CardStore::lastUsedRecord(long long records) const
{
    const QString path = recordFile();
    Fd fd(::open(QFile::encodeName(path).constData(), O_RDONLY | O_NONBLOCK));
    if (fd.get() < 0)
        return errno == ENOENT ? tb::Result<long long>(0LL) : tb::Result<long long>(tb::Error::fromErrno(errno, path));
    // From the end, block by block: only the blanks a deletion left are read.
    QByteArray block(tb::kRecordsPerBlock * CardRecord::kSize, Qt::Uninitialized);
    for (long long end = records; end > 0;) {
        const long long first = std::max(1LL, end - tb::kRecordsPerBlock + 1);
        const qint64 size = (end - first + 1) * CardRecord::kSize;
        qint64 got = 0;
        if (!preadAll(fd.get(), block.data(), size, (first - 1) * CardRecord::kSize, &got))
            return tb::Error::fromErrno(errno, path);
        for (long long n = first + got / CardRecord::kSize - 1; n >= first; --n) {
            const char* r = block.constData() + (n - first) * CardRecord::kSize;
            if (std::any_of(r, r + CardRecord::kSize, [](char c) { return c != ' '; }))
                return n;
        }
        end = first - 1;
    }
    return 0LL;
}

tb::Status CardStore::truncateRecords(long long count) const
{
    const QString path = recordFile();
    const qint64 size = std::max(0LL, count) * CardRecord::kSize;
    const QFileInfo info(path);
    if (!info.isFile() || info.size() <= size)
        return {};
    if (tb::Status s = refuseLinkOutside(m_folder, path); !s)
        return s;
    if (::truncate(QFile::encodeName(path).constData(), size) != 0)
        return tb::Error::fromErrno(errno, path);
    return {};
}

tb::Result<CardRecord> CardStore::read(long long n) const
{
    if (n < 1)
        return CardRecord();
    const QString path = recordFile();
    Fd fd(::open(QFile::encodeName(path).constData(), O_RDONLY));
    if (fd.get() < 0) {
        if (errno == ENOENT)
            return CardRecord();
        return tb::Error::fromErrno(errno, path);
    }
    char buffer[CardRecord::kSize];
    qint64 got = 0;
    if (!preadAll(fd.get(), buffer, CardRecord::kSize, (n - 1) * CardRecord::kSize, &got))
        return tb::Error::fromErrno(errno, path);
    return CardRecord::fromBytes(QByteArrayView(buffer, got));
}

tb::Status CardStore::write(long long n, const CardRecord& record) const
{
    if (n < 1)
        return tb::Error{tb::kErrorPathAccess, QStringLiteral("numéro de fiche incorrect")};
    return writeRecords(n, record.toBytes());
}

tb::Status CardStore::writeRecords(long long first, QByteArrayView bytes) const
{
    const QString path = recordFile();
    if (QFileInfo(path).isDir())
        return tb::Error::fromErrno(EISDIR, path);
    if (tb::Status s = refuseLinkOutside(m_folder, path); !s)
        return s;
    Fd fd(::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT | O_NONBLOCK, 0644));
    if (fd.get() < 0)
        return tb::Error::fromErrno(errno, path);
    struct stat st {};
    if (::fstat(fd.get(), &st) != 0)
        return tb::Error::fromErrno(errno, path);
    if (!S_ISREG(st.st_mode))
        return tb::Error::fromErrno(EISDIR, path);
    const qint64 oldSize = st.st_size;
    const qint64 at = (first - 1) * CardRecord::kSize;
    const qint64 end = at + bytes.size();
    // What the write covers inside the old file, to put back on failure.
    QByteArray before(std::clamp<qint64>(std::min(end, oldSize) - at, 0, bytes.size()), Qt::Uninitialized);
    qint64 got = 0;
    if (!before.isEmpty() && !preadAll(fd.get(), before.data(), before.size(), at, &got))
        return tb::Error::fromErrno(errno, path);

    auto fail = [&](int err) -> tb::Status {
        if (!before.isEmpty())
            pwriteAll(fd.get(), before.constData(), before.size(), at);
        if (::ftruncate(fd.get(), oldSize) != 0) {
            // Nothing more to try: the old records are back, a tail may stay.
        }
        return tb::Error::fromErrno(err, path);
    };

    // The records between the end and the first one written become blank cards
    // (a torn last record is completed the same way), written block by block.
    if (oldSize < at) {
        const QByteArray blanks(qMin<qint64>(at - oldSize, tb::kRecordsPerBlock * CardRecord::kSize), ' ');
        for (qint64 pos = oldSize; pos < at;) {
            const qint64 len = std::min<qint64>(blanks.size(), at - pos);
            if (!pwriteAll(fd.get(), blanks.constData(), len, pos))
                return fail(errno);
            pos += len;
        }
    }
    if (!pwriteAll(fd.get(), bytes.data(), bytes.size(), at))
        return fail(errno);
    if (::fdatasync(fd.get()) != 0)
        return fail(errno);
    // A record file just made must also be found after a power cut.
    if (oldSize == 0)
        tb::syncFolder(m_folder);
    return {};
}

tb::Status CardStore::forEachRaw(long long count, const std::function<void(long long, QByteArrayView)>& fn) const
{
    return forEachRaw(1, count, fn);
}

tb::Status CardStore::forEachRaw(long long first, long long count,
                                 const std::function<void(long long, QByteArrayView)>& fn) const
{
    const QString path = recordFile();
    const auto each = [&](long long n, const char* records, long long size) {
        for (long long k = 0; k < size; ++k)
            fn(n + k, QByteArrayView(records + k * CardRecord::kSize, CardRecord::kSize));
    };
    if (!tb::readRecordBlocks(QFile::encodeName(path).toStdString(), first, count, each))
        return tb::Error::fromErrno(errno, path);
    return {};
}

tb::Status CardStore::forEachOf(const std::vector<long long>& numbers,
                                const std::function<void(long long, QByteArrayView)>& fn) const
{
    if (numbers.empty())
        return {};
    const QString path = recordFile();
    Fd fd(::open(QFile::encodeName(path).constData(), O_RDONLY));
    if (fd.get() < 0 && errno != ENOENT)
        return tb::Error::fromErrno(errno, path);
    char buffer[CardRecord::kSize];
    for (long long n : numbers) {
        qint64 got = 0;
        if (n >= 1 && fd.get() >= 0
            && !preadAll(fd.get(), buffer, CardRecord::kSize, (n - 1) * CardRecord::kSize, &got))
            return tb::Error::fromErrno(errno, path);
        std::fill(buffer + got, buffer + CardRecord::kSize, ' ');
        fn(n, QByteArrayView(buffer, CardRecord::kSize));
    }
    return {};
}

QStringList CardStore::readCaptions() const
{
    return tb::readValues(file(kCaptions), kCaptionCount);
}

tb::Status CardStore::writeCaptions(const QStringList& captions) const
{
    return tb::writeQuotedLines(file(kCaptions), captions);
}
