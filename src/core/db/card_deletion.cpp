#include "core/db/card_deletion.h"
#include "core/db/count_file.h"

#include "core/base/folder_index.h"
#include "core/base/number_text.h"
#include "core/base/safe_write.h"
#include "core/cards/side_files.h"
#include "core/db/carddav_state.h"
#include "core/db/trash.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>
#include <QRegularExpression>
#include <QUuid>

#include <cerrno>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace tb {

namespace {

struct Intent {
    long long deleted = 0;
    long long moving = 0;
    int trashEntry = 0;  // 0: the card is not kept
    QString stamp;       // names this deletion, so that it is followed once
};

// "d CR LF c CR LF", when the card goes to the trash its entry's number, then
// a stamp of its own (older deletions have none).
std::optional<Intent> readIntent(const QByteArray& bytes)
{
    static const QRegularExpression form(
        QStringLiteral("^\\s*(\\d{1,15})\\s*\\r?\\n\\s*(\\d{1,15})\\s*(?:\\r?\\n\\s*(\\d{1,9})\\s*)?"
                       "(?:\\r?\\n\\s*([0-9a-f-]{36})\\s*)?$"));
    const QRegularExpressionMatch m = form.match(QString::fromLatin1(bytes));
    if (!m.hasMatch())
        return std::nullopt;
    Intent intent{m.captured(1).toLongLong(), m.captured(2).toLongLong(), m.captured(3).toInt(), m.captured(4)};
    if (intent.stamp.isEmpty())
        intent.stamp = m.captured(1) + u'/' + m.captured(2) + u'/' + m.captured(3);
    if (intent.deleted < 1 || intent.deleted > intent.moving)
        return std::nullopt;
    return intent;
}

// The count as a deletion writes it: the number with its leading blank.
Status writeCountAfterDeletion(const QString& path, long long count)
{
    return writeFileAtomic(path, (u' ' + plainNumber(count)).toLatin1() + "\r\n");
}

Status unlinkFile(const QString& path)
{
    if (::unlink(QFile::encodeName(path).constData()) != 0 && errno != ENOENT)
        return Error::fromErrno(errno, path);
    return {};
}

std::function<void()>& stepHook()
{
    static std::function<void()> hook;
    return hook;
}

void step()
{
    if (stepHook())
        stepHook()();
}
}  // namespace

QStringList sideFilesOnDisk(const QString& folder, long long n)
{
    QStringList mine;
    for (const SideFile kind : kSideFiles)
        mine << sideFileName(kind, n);
    const FolderIndex index(folder);
    QStringList found;
    for (const QString& name : index.names())
        if (mine.contains(name, Qt::CaseInsensitive))
            found << name;
    return found;
}

QStringList sideFileSpellings(long long n)
{
    QStringList names;
    for (const SideFile kind : kSideFiles) {
        QString made = sideFileName(kind, n);
        for (int spelling = 0; spelling < 2; ++spelling) {
            names << made << made.toLower() << made.toUpper() << made.left(1).toUpper() + made.mid(1)
                  << made.left(1).toLower() + made.mid(1);
            if (!made.endsWith(QLatin1String(".jpg")))
                break;
            made.insert(made.size() - 1, u'e');
        }
    }
    names.removeDuplicates();
    return names;
}

QString renumberedSideFile(const QString& name, long long from, long long to)
{
    const std::optional<SideFile> kind = sideFileKind(name, from);
    if (!kind)
        return {};
    return name.left(sideFilePrefix(*kind).size()) + plainNumber(to) + name.right(sideFileExtension(*kind).size());
}

void CardDeletion::setStepHook(std::function<void()> hook)
{
    stepHook() = std::move(hook);
}

bool CardDeletion::pending(const QString& folder)
{
    return QFileInfo::exists(folder + intentName());
}

Result<CardDeletion::Outcome> CardDeletion::run(long long n, long long count, Keep keep, const QDateTime& when)
{
    const Trash trash(m_store.folder());
    const int entry = keep == Keep::InTrash ? trash.nextNumber() : 0;
    const QString intentPath = m_store.file(intentName());
    const QByteArray intent = (plainNumber(n) + QStringLiteral("\r\n") + plainNumber(count) + QStringLiteral("\r\n")
                               + (entry ? QString::number(entry) + QStringLiteral("\r\n") : QString())
                               + QUuid::createUuid().toString(QUuid::WithoutBraces) + QStringLiteral("\r\n"))
                                  .toLatin1();
    if (Status s = writeFileAtomic(intentPath, intent); !s)
        return s.error();
    step();
    if (entry) {
        // Nothing is changed until the card is whole in the trash.
        const Result<CardRecord> card = m_store.read(n);
        Status s = card ? trash.keep(entry, n, *card, sideFilesOnDisk(m_store.folder(), n), when) : card.status();
        if (!s) {
            unlinkFile(intentPath).ok();
            return s.error();
        }
        step();
    }
    return finish(false);
}

Result<CardDeletion::Outcome> CardDeletion::resume()
{
    const QString intentPath = m_store.file(intentName());
    const Result<QByteArray> bytes = readFile(intentPath);
    if (!bytes)
        return bytes.error();
    const std::optional<Intent> intent = readIntent(*bytes);
    const Trash trash(m_store.folder());
    if (intent && intent->trashEntry && !trash.holds(intent->trashEntry)) {
        // Cut short before the card reached the trash: no file was changed yet.
        if (Status s = unlinkFile(intentPath); !s)
            return s.error();
        trash.dropLeftovers();
        return Outcome{0, m_store.readCount().value, 0};
    }
    return finish(true);
}

// Every step can run again: the state of the files tells how far an
// interrupted deletion went. Records d and c equal means card c was copied,
// hence card d's side files are all gone (two identical cards cut short
// while d's files go cannot be told apart).
Result<CardDeletion::Outcome> CardDeletion::finish(bool resuming)
{
    const QString intentPath = m_store.file(intentName());
    const Result<QByteArray> bytes = readFile(intentPath);
    if (!bytes)
        return bytes.error();
    const std::optional<Intent> intent = readIntent(*bytes);
    const CardStore::CountReading count = m_store.readCount();
    if (!intent || !count.valid || (count.value != intent->moving && count.value != intent->moving - 1))
        return Error{kErrorPathAccess, QStringLiteral("suppression inachevée illisible : ") + intentPath};
    const long long d = intent->deleted, c = intent->moving;
    if (count.value == c) {
        const Result<CardRecord> deleted = m_store.read(d), moving = m_store.read(c);
        if (!deleted)
            return deleted.error();
        if (!moving)
            return moving.error();
        FolderIndex names(m_store.folder());
        const bool copied = resuming && d < c && deleted->toBytes() == moving->toBytes();
        if (!copied) {
            // Every spelling of a name goes ("photo2.jpg" and "PHOTO2.JPG"
            // are both card 2's photo), or the moving card's could not take it.
            for (const QString& name : sideFilesOnDisk(m_store.folder(), d)) {
                if (Status s = unlinkFile(m_store.file(name)); !s)
                    return s.error();
                names.remove(name);
                step();
            }
            if (Status s = m_store.write(d, d < c ? *moving : CardRecord()); !s)
                return s.error();
            step();
        }
        if (d < c) {
            for (const SideFile kind : kSideFiles) {
                const QString from = names.find(sideFileName(kind, c));
                // Never over a file: a name already taken keeps the old one.
                if (from.isEmpty() || names.contains(sideFileName(kind, d)))
                    continue;
                const QString to = renumberedSideFile(from, c, d);
                if (std::rename(QFile::encodeName(m_store.file(from)).constData(),
                                QFile::encodeName(m_store.file(to)).constData())
                    != 0)
                    return Error::fromErrno(errno, m_store.file(from));
                names.remove(from);
                names.insert(to);
                step();
            }
        }
        if (Status s = writeCountAfterDeletion(m_store.file(QLatin1String(kCountFileName)), c - 1); !s)
            return s.error();
        step();
    }
    // Past the count, record c is never read; it is blanked all the same.
    if (d < c) {
        if (Status s = m_store.write(c, CardRecord()); !s)
            return s.error();
        step();
    }
    // The sync's state follows the renumbering once, whenever this runs again.
    if (Status s = followDeletionInCardDavState(m_store.folder(), d, c, intent->stamp); !s)
        return s.error();
    step();
    if (Status s = unlinkFile(intentPath); !s)
        return s.error();
    step();
    return Outcome{d, c - 1, intent->trashEntry};
}

}  // namespace tb
