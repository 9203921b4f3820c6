#include "core/db/trash.h"

#include "core/base/number_text.h"
#include "core/base/safe_write.h"
#include "core/lists/display_line.h"

#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>

#include <algorithm>
#include <cerrno>
#include <cstdio>

namespace tb {

namespace {
const QString kRecordName = QStringLiteral("fiche.dat");
const QString kInfoName = QStringLiteral("infos.txt");
const QString kDateForm = QStringLiteral("dd/MM/yyyy HH:mm:ss");

QStringList entryNames(const QString& folder)
{
    static const QRegularExpression number(QStringLiteral("^[1-9][0-9]{0,8}$"));
    QStringList names;
    for (const QString& name : QDir(folder).entryList(QDir::Dirs | QDir::NoDotAndDotDot))
        if (number.match(name).hasMatch())
            names << name;
    return names;
}

Status renameEntry(const QString& from, const QString& to)
{
    if (std::rename(QFile::encodeName(from).constData(), QFile::encodeName(to).constData()) != 0)
        return Error::fromErrno(errno, from);
    return {};
}
}  // namespace

QString deletionDay(const QDateTime& when)
{
    return when.toString(QStringLiteral("dd/MM/yyyy"));
}

QString trashListLine(const TrashEntry& entry)
{
    return QString::number(entry.number) + u'\t' + deletionDay(entry.deleted) + u'\t'
           + displayLine(entry.card.toBytes(), {3, 4, 6, 7});
}

Trash::Trash(const QString& databaseFolder) : m_folder(databaseFolder + folderName() + u'/') {}

QString Trash::entryFolder(int number) const
{
    return m_folder + QString::number(number) + u'/';
}

bool Trash::holds(int number) const
{
    return QFileInfo(entryFolder(number)).isDir();
}

Result<TrashEntry> Trash::entry(int number) const
{
    const QString folder = entryFolder(number);
    const Result<QByteArray> record = readFile(folder + kRecordName);
    if (!record)
        return record.error();
    const Result<QByteArray> info = readFile(folder + kInfoName);
    if (!info)
        return info.error();
    const QList<QByteArray> lines = info->split('\n');
    TrashEntry e;
    e.number = number;
    e.deleted = QDateTime::fromString(QString::fromLatin1(lines.value(0).trimmed()), kDateForm);
    e.formerNumber = lines.value(1).trimmed().toLongLong();
    if (record->size() != CardRecord::kSize || !e.deleted.isValid() || e.formerNumber < 1)
        return Error{kErrorPathAccess, QStringLiteral("entrée de la corbeille illisible : ") + folder};
    e.card = CardRecord::fromBytes(*record);
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden, QDir::Name))
        if (name != kRecordName && name != kInfoName)
            e.files << name;
    return e;
}

Result<std::vector<TrashEntry>> Trash::entries() const
{
    std::vector<TrashEntry> all;
    for (const QString& name : entryNames(m_folder)) {
        Result<TrashEntry> e = entry(name.toInt());
        if (!e)
            return e.error();
        all.push_back(std::move(e).value());
    }
    std::sort(all.begin(), all.end(), [](const TrashEntry& a, const TrashEntry& b) {
        return a.deleted != b.deleted ? a.deleted > b.deleted : a.number > b.number;
    });
    return all;
}

int Trash::nextNumber() const
{
    int last = 0;
    for (const QString& name : entryNames(m_folder))
        last = std::max(last, name.toInt());
    return last + 1;
}

Status Trash::keep(int number, long long formerNumber, const CardRecord& card, const QStringList& sideFiles,
                   const QDateTime& when) const
{
    // A trash made for a card that could not be kept goes with it.
    const bool madeHere = !QFileInfo::exists(m_folder);
    if (!QDir().mkpath(m_folder))
        return Error::fromErrno(errno ? errno : EACCES, m_folder);
    // Made under a name no reader takes for an entry, then named at once.
    const QString making = m_folder + u'.' + QString::number(number) + QStringLiteral(".tmp/");
    QDir(making).removeRecursively();
    if (!QDir().mkdir(making)) {
        const Error e = Error::fromErrno(errno ? errno : EACCES, making);
        if (madeHere)
            QDir().rmdir(m_folder);
        return e;
    }
    const QString databaseFolder = QFileInfo(m_folder.chopped(1)).path() + u'/';
    QList<std::pair<QString, QString>> copies;
    for (const QString& name : sideFiles)
        copies.append({databaseFolder + name, making + name});
    Status s = copyFilesReplacing(copies);
    if (s)
        s = writeFileAtomic(making + kRecordName, card.toBytes());
    if (s)
        s = writeFileAtomic(making + kInfoName,
                            (when.toString(kDateForm) + QStringLiteral("\r\n") + plainNumber(formerNumber)
                             + QStringLiteral("\r\n"))
                                .toLatin1());
    if (s)
        s = renameEntry(making, entryFolder(number).chopped(1));
    if (!s) {
        QDir(making).removeRecursively();
        if (madeHere)
            QDir().rmdir(m_folder);
        return s;
    }
    syncFolder(m_folder);
    return {};
}

void Trash::dropLeftovers() const
{
    for (const QString& name : QDir(m_folder).entryList(QDir::Dirs | QDir::Hidden | QDir::NoDotAndDotDot))
        if (name.startsWith(u'.'))
            QDir(m_folder + name).removeRecursively();
}

Status Trash::remove(int number) const
{
    if (!holds(number))
        return Error{kErrorFileNotFound, QStringLiteral("la corbeille ne contient pas l'entrée n° ")
                                             + QString::number(number)};
    // Out of the entries' names first: a removal cut short leaves no half entry.
    const QString gone = m_folder + u'.' + QString::number(number) + QStringLiteral(".gone");
    if (Status s = renameEntry(entryFolder(number).chopped(1), gone); !s)
        return s;
    syncFolder(m_folder);
    QDir(gone).removeRecursively();
    return {};
}

Status Trash::empty() const
{
    for (const QString& name : entryNames(m_folder))
        if (Status s = remove(name.toInt()); !s)
            return s;
    return {};
}

QStringList Trash::strays() const
{
    QStringList found;
    for (const QString& name : QDir(m_folder).entryList(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot)) {
        const bool entryName = entryNames(m_folder).contains(name);
        if (!entryName || !entry(name.toInt()))
            found << name;
    }
    return found;
}

}  // namespace tb
