#include "core/db/card_restoration.h"

#include "core/base/number_text.h"
#include "core/base/safe_write.h"
#include "core/db/card_deletion.h"
#include "core/db/trash.h"

#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <cerrno>
#include <unistd.h>

namespace tb {

namespace {
Status unlinkFile(const QString& path)
{
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
        return Error::fromErrno(errno, path);
    return {};
}
}  // namespace

bool CardRestoration::pending(const QString& folder)
{
    return QFileInfo::exists(folder + intentName());
}

Status CardRestoration::run(int entry, long long count)
{
    const Trash trash(m_store.folder());
    const Result<TrashEntry> kept = trash.entry(entry);
    if (!kept)
        return kept.error();
    const long long n = count + 1;
    const QString intentPath = m_store.file(intentName());
    if (Status s = writeFileAtomic(intentPath, (QString::number(entry) + QStringLiteral("\r\n") + plainNumber(n)
                                                + QStringLiteral("\r\n"))
                                                   .toLatin1());
        !s)
        return s;
    // Past the count the record and the files belong to no card yet.
    Status s = m_store.write(n, kept->card);
    QList<std::pair<QString, QString>> copies;
    for (const QString& name : kept->files) {
        const QString to = renumberedSideFile(name, kept->formerNumber, n);
        if (!to.isEmpty())
            copies.append({trash.entryFolder(entry) + name, m_store.file(to)});
    }
    if (s)
        s = copyFilesReplacing(copies);
    if (s)
        s = m_store.writeCount(n);
    if (!s) {
        resume().ok();
        return s;
    }
    return resume();
}

Status CardRestoration::resume()
{
    const QString intentPath = m_store.file(intentName());
    const Result<QByteArray> bytes = readFile(intentPath);
    if (!bytes)
        return bytes.error();
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,9})\\s*\\r?\\n\\s*(\\d{1,15})\\s*$"));
    const QRegularExpressionMatch m = form.match(QString::fromLatin1(*bytes));
    const CardStore::CountReading count = m_store.readCount();
    if (!m.hasMatch() || !count.valid)
        return Error{kErrorPathAccess, QStringLiteral("restauration inachevée illisible : ") + intentPath};
    const int entry = m.captured(1).toInt();
    const long long n = m.captured(2).toLongLong();
    const Trash trash(m_store.folder());
    if (count.value >= n) {
        // The card is counted: it only has to leave the trash.
        if (trash.holds(entry))
            if (Status s = trash.remove(entry); !s)
                return s;
    } else {
        for (const QString& name : sideFilesOnDisk(m_store.folder(), n))
            if (Status s = unlinkFile(m_store.file(name)); !s)
                return s;
        if (n <= m_store.recordsInFile())
            if (Status s = m_store.write(n, CardRecord()); !s)
                return s;
    }
    return unlinkFile(intentPath);
}

}  // namespace tb
