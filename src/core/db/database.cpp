#include "core/db/database.h"

#include "core/base/number_text.h"
#include "core/base/safe_write.h"
#include "core/base/value_files.h"
#include "core/cards/card_creation.h"
#include "core/cards/card_fields.h"
#include "core/db/database_files.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <QRegularExpression>

#include <cerrno>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace tb {

namespace {
const QString kNotADatabase = QStringLiteral(" Ce dossier ne contient pas de base de données Tabulon !");
const QString kDeletionIntent = QStringLiteral("suppression.txt");

// The side files of a card, in the order a deletion handles them.
struct SideKind {
    const char* prefix;
    const char* extension;
};
constexpr SideKind kSideKinds[] = {{"F", ".txt"},     {"F", ".xls"},     {"R", ".txt"},     {"I", ".txt"},
                                   {"M", ".txt"},     {"dtxtA", ".txt"}, {"dtxtB", ".txt"}, {"scanA", ".jpg"},
                                   {"scanB", ".jpg"}, {"photo", ".jpg"}};

QString sideName(const SideKind& kind, long long n)
{
    return (QLatin1String(kind.prefix) + plainNumber(n) + QLatin1String(kind.extension)).toLower();
}

// The folder's file names by their lower-case form: side files are found
// whatever their case.
QHash<QString, QString> listFolder(const QString& folder)
{
    QHash<QString, QString> names;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        names.insert(name.toLower(), name);
    return names;
}

// Temporary files of whole-file writes that a crash cut short (the file they
// were to replace is intact). Only under the lock: no write of ours runs then.
void removeLeftTemporaries(const QString& folder)
{
    static const QRegularExpression temporary(QStringLiteral("\\.tmp-[A-Za-z0-9]{6}$"));
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System))
        if (temporary.match(name).hasMatch())
            ::unlink(QFile::encodeName(folder + name).constData());
}

struct Intent {
    long long deleted = 0;
    long long moving = 0;
};

std::optional<Intent> readIntent(const QByteArray& bytes)
{
    static const QRegularExpression form(QStringLiteral("^\\s*(\\d{1,15})\\s*\\r?\\n\\s*(\\d{1,15})\\s*$"));
    const QRegularExpressionMatch m = form.match(QString::fromLatin1(bytes));
    if (!m.hasMatch())
        return std::nullopt;
    Intent intent{m.captured(1).toLongLong(), m.captured(2).toLongLong()};
    if (intent.deleted < 1 || intent.deleted > intent.moving)
        return std::nullopt;
    return intent;
}

// The count as a deletion writes it: the number with its leading blank.
Status writeCountAfterDeletion(const QString& path, long long count)
{
    return writeFileAtomic(path, (u' ' + plainNumber(count)).toLatin1() + "\r\n");
}
}

Database::Database(const QString& folder, Access access) : m_store(folder), m_access(access) {}

Result<std::unique_ptr<Database>> Database::open(const QString& folder, Access access)
{
    if (!isDatabaseFolder(folder))
        return Error{kNoErrorNumber, kNotADatabase};
    std::unique_ptr<Database> db(new Database(folder, access));
    if (access == Access::ReadWrite) {
        Result<std::shared_ptr<DatabaseLock>> lock = lockDatabase(folder);
        if (!lock)
            return lock.error();
        db->m_lock = std::move(lock).value();
        if (db->m_lock)
            removeLeftTemporaries(folder);
    }
    // A deletion cut short is finished before anything reads the cards.
    if (access == Access::ReadWrite && deletionPending(folder))
        if (Status s = db->finishDeletion(true); !s)
            return s.error();
    if (Status s = db->load(); !s)
        return s.error();
    return db;
}

Status Database::load()
{
    // Anything but a file in place of the records is no empty database: the
    // count it would be corrected to would send new cards over the old ones.
    const QFileInfo recordFile(m_store.recordFile());
    if (recordFile.exists() && !recordFile.isFile())
        return Error::fromErrno(EISDIR, m_store.recordFile());
    const CardStore::CountReading reading = m_store.readCount();
    const long long records = m_store.recordsInFile();
    m_count = reading.value;
    m_correction.clear();
    // A garbled count never makes the database look empty nor sends a new
    // card over card 1: the whole records are the truth.
    if (!reading.valid || reading.value > records) {
        m_count = records;
        m_correction = QStringLiteral(" Le nombre de fiches a été corrigé : ") + plainNumber(records)
                       + QStringLiteral(" fiche(s).");
        if (!readOnly())
            if (Status s = m_store.writeCount(records); !s)
                return s;
    }
    noteOwnWrite();
    return {};
}

Result<std::unique_ptr<Database>> Database::create(const QString& programFolder, const QString& name,
                                                   QList<Error>* templateErrors)
{
    if (!isSafeDatabaseName(name))
        return Error{kErrorBadFileName, {}};
    if (Status s = writePathValue(programFolder + QStringLiteral("dossier.txt"), name); !s)
        return s.error();
    const QString path = programFolder + name;
    if (QFileInfo::exists(path))
        return Error{kErrorPathAccess, QStringLiteral(" Ce nom existe déja, choisissez un autre nom ! ")};
    if (!QDir().mkdir(path))
        return Error::fromErrno(errno ? errno : EACCES, path);
    const QString folder = path + u'/';
    for (const QString& file : databaseTemplateFiles()) {
        if (Status s = copyFileReplacing(programFolder + file, folder + file); !s && templateErrors)
            templateErrors->append(Error{kErrorFileNotFound, {}});
    }
    // Without its count and map files the folder would not open again.
    if (!QFileInfo::exists(folder + QStringLiteral("NBFiches.dat")))
        if (Status s = CardStore(folder).writeCount(0); !s)
            return s.error();
    // The new database shows the default map, named by its whole path.
    if (Status s = writePathValue(folder + QStringLiteral("carte.txt"), programFolder + QStringLiteral("frc.gif")); !s)
        return s.error();
    return open(folder);
}

Status Database::refreshTemplates(const QString& programFolder)
{
    for (const QString& name : {QStringLiteral("F.xls"), QStringLiteral("StrFic.txt")})
        if (Status s = copyFileReplacing(programFolder + name, file(name)); !s)
            return s;
    return {};
}

QStringList Database::captions() const
{
    return m_store.readCaptions();
}

Status Database::setCaptions(const QStringList& captions)
{
    if (Status s = m_store.writeCaptions(captions); !s)
        return s;
    emit captionsChanged();
    return {};
}

QString Database::mapPath() const
{
    return readPathValue(file(QStringLiteral("carte.txt")));
}

Status Database::setMapPath(const QString& path)
{
    if (Status s = writePathValue(file(QStringLiteral("carte.txt")), path); !s)
        return s;
    emit mapChanged();
    return {};
}

Result<CardRecord> Database::card(long long n) const
{
    return m_store.read(n);
}

Status Database::storeCard(long long n, const CardRecord& card)
{
    if (n < 1 || n > m_count + 1)
        return Error{kErrorPathAccess, QStringLiteral("la fiche n° ") + plainNumber(n) + QStringLiteral(" n'existe pas")};
    const Result<CardRecord> before = m_store.read(n);
    if (!before)
        return before.error();
    const QByteArray bytes = card.toBytes();
    if (before->toBytes() == bytes && n <= m_store.recordsInFile())
        return {};
    refreshIfChanged();
    if (Status s = m_store.write(n, card); !s)
        return s;
    noteOwnWrite();
    if (n <= m_count && m_pinsLoaded)
        m_pins.set(n, card);
    emit cardStored(n);
    return {};
}

Result<long long> Database::createCard(const CardRecord& typed)
{
    refreshIfChanged();
    const long long n = m_count + 1;
    CardRecord card = typed;
    card.fields[2] = surnameInCapitals(card.fields[2]);
    // The record first, then its side files, then the count that includes it:
    // a failure on the way never leaves a count claiming a card not written.
    if (Status s = m_store.write(n, card); !s)
        return s.error();
    noteOwnWrite();
    for (const CardTemplate& t : kCardTemplates) {
        const QString to = m_store.sideFile(QString::fromLatin1(t.prefix), n, QString::fromLatin1(t.extension));
        if (Status s = copyFileReplacing(file(QString::fromLatin1(t.templateName)), to); !s)
            return s.error();
    }
    if (Status s = writeCount(n); !s)
        return s.error();
    if (m_pinsLoaded)
        m_pins.set(n, card);
    emit cardStored(n);
    emit countChanged(n);
    return n;
}

bool Database::deletionPending(const QString& folder)
{
    return QFileInfo::exists(folder + kDeletionIntent);
}

Status Database::deleteCard(long long n)
{
    if (readOnly())
        return Error{kErrorPermission, {}};
    if (deletionPending(folder())) {
        // An earlier deletion stopped on an error: numbers are about to change,
        // so that one is finished and this one is not started.
        Status s = finishDeletion(true);
        emit countChanged(m_count);
        emit cardsRenumbered();
        if (!s)
            return s;
        return Error{kErrorPathAccess, QStringLiteral("une suppression inachevée vient d'être terminée")};
    }
    if (n < 1 || n > m_count)
        return Error{kErrorPathAccess, QStringLiteral("la fiche n° ") + plainNumber(n) + QStringLiteral(" n'existe pas")};
    refreshIfChanged();
    const QByteArray intent =
        (plainNumber(n) + QStringLiteral("\r\n") + plainNumber(m_count) + QStringLiteral("\r\n")).toLatin1();
    if (Status s = writeFileAtomic(file(kDeletionIntent), intent); !s)
        return s;
    const Status s = finishDeletion(false);
    emit countChanged(m_count);
    emit cardsRenumbered();
    return s;
}

// Every step can run again: the state of the files tells how far an
// interrupted deletion went. Records d and c equal means card c was copied,
// hence card d's side files are all gone (two identical cards cut short
// while d's files go cannot be told apart).
Status Database::finishDeletion(bool resuming)
{
    const QString intentPath = file(kDeletionIntent);
    const Result<QByteArray> bytes = readFile(intentPath);
    if (!bytes)
        return bytes.error();
    const std::optional<Intent> intent = readIntent(*bytes);
    const CardStore::CountReading count = m_store.readCount();
    if (!intent || !count.valid || (count.value != intent->moving && count.value != intent->moving - 1))
        return Error{kErrorPathAccess, QStringLiteral("suppression inachevée illisible : ") + intentPath};
    const long long d = intent->deleted, c = intent->moving;
    m_sideFiles.clear();
    if (count.value == c) {
        const Result<CardRecord> deleted = m_store.read(d), moving = m_store.read(c);
        if (!deleted)
            return deleted.error();
        if (!moving)
            return moving.error();
        QHash<QString, QString> names = listFolder(folder());
        const bool copied = resuming && d < c && deleted->toBytes() == moving->toBytes();
        if (!copied) {
            // Every spelling of a name goes ("photo2.jpg" and "PHOTO2.JPG"
            // are both card 2's photo), or the moving card's could not take it.
            QStringList doomed;
            for (const SideKind& kind : kSideKinds)
                doomed << sideName(kind, d);
            for (const QString& name : QDir(folder()).entryList(QDir::Files | QDir::Hidden | QDir::System)) {
                if (!doomed.contains(name.toLower()))
                    continue;
                if (::unlink(QFile::encodeName(file(name)).constData()) != 0 && errno != ENOENT)
                    return Error::fromErrno(errno, file(name));
                names.remove(name.toLower());
            }
            if (Status s = m_store.write(d, d < c ? *moving : CardRecord()); !s)
                return s;
        }
        if (d < c) {
            for (const SideKind& kind : kSideKinds) {
                const QString from = names.value(sideName(kind, c));
                // Never over a file: a name already taken keeps the old one.
                if (from.isEmpty() || names.contains(sideName(kind, d)))
                    continue;
                const QString to = from.left(int(qstrlen(kind.prefix))) + plainNumber(d)
                                   + from.right(int(qstrlen(kind.extension)));
                if (std::rename(QFile::encodeName(file(from)).constData(), QFile::encodeName(file(to)).constData()) != 0)
                    return Error::fromErrno(errno, file(from));
                names.remove(sideName(kind, c));
                names.insert(to.toLower(), to);
            }
        }
        if (Status s = writeCountAfterDeletion(m_store.file(QStringLiteral("NBFiches.dat")), c - 1); !s)
            return s;
    }
    m_count = c - 1;
    // Past the count, record c is never read; it is blanked all the same.
    if (d < c)
        if (Status s = m_store.write(c, CardRecord()); !s)
            return s;
    if (::unlink(QFile::encodeName(intentPath).constData()) != 0 && errno != ENOENT)
        return Error::fromErrno(errno, intentPath);
    m_sideFiles.clear();
    if (m_pinsLoaded)
        m_pins.load(m_store, m_count).ok();
    noteOwnWrite();
    return {};
}

Status Database::setArchived(long long n, bool archived)
{
    if (n < 1 || n > m_count)
        return Error{kErrorPathAccess, QStringLiteral("la fiche n° ") + plainNumber(n) + QStringLiteral(" n'existe pas")};
    Result<CardRecord> card = m_store.read(n);
    if (!card)
        return card.error();
    card->fields[0][0] = archived ? u'0' : u'1';
    return storeCard(n, *card);
}

Status Database::writeCount(long long count)
{
    if (Status s = m_store.writeCount(count); !s)
        return s;
    m_count = count;
    if (m_pinsLoaded)
        m_pins.resize(count);
    return {};
}

QString Database::findSideFile(const QString& prefix, long long n, const QString& extension) const
{
    const QString made = m_store.sideFile(prefix, n, extension);
    if (QFileInfo::exists(made))
        return made;
    // Names in other cases, from one listing of the folder kept while the
    // folder is unchanged (a folder of many cards holds many files).
    const QDateTime changed = QFileInfo(folder()).lastModified();
    if (changed != m_sideFilesTime || m_sideFiles.isEmpty()) {
        m_sideFiles.clear();
        for (const QString& name : QDir(folder()).entryList(QDir::Files))
            m_sideFiles.insert(name.toLower(), name);
        m_sideFilesTime = changed;
    }
    const QString found = m_sideFiles.value(QFileInfo(made).fileName().toLower());
    return found.isEmpty() ? made : file(found);
}

QString Database::attachmentPath(const QString& base, const QString& source) const
{
    QString extension = QFileInfo(source).suffix().toLower();
    static const QHash<QString, QString> threeLetters = {
        {QStringLiteral("jpeg"), QStringLiteral("jpg")},
        {QStringLiteral("tiff"), QStringLiteral("tif")},
        {QStringLiteral("html"), QStringLiteral("htm")},
    };
    extension = threeLetters.value(extension, extension.left(3));
    return file(base + (extension.isEmpty() ? QString() : u'.' + extension));
}

const PinIndex& Database::pins() const
{
    // Read on first use: commands that only list or show never pay for it.
    if (!m_pinsLoaded) {
        m_pinsLoaded = true;
        m_pins.load(m_store, m_count).ok();
        noteOwnWrite();
    }
    refreshIfChanged();
    return m_pins;
}

Result<CardList> Database::list(ListKind kind) const
{
    return buildCardList(m_store, m_count, kind);
}

Result<CardList> Database::nameList() const
{
    return buildNameList(m_store, m_count);
}

Result<CardList> Database::cardsAt(double x, double y) const
{
    return cardsIn(clickSquare(x, y));
}

Result<CardList> Database::cardsIn(const OpenRect& area) const
{
    return hitList(m_store, m_count, pins().cardsIn(area));
}

void Database::noteOwnWrite() const
{
    const QFileInfo info(m_store.recordFile());
    m_seenSize = info.exists() ? info.size() : -1;
    m_seenTime = info.exists() ? info.lastModified() : QDateTime();
}

void Database::refreshIfChanged() const
{
    const QFileInfo info(m_store.recordFile());
    const qint64 size = info.exists() ? info.size() : -1;
    const QDateTime time = info.exists() ? info.lastModified() : QDateTime();
    if (size == m_seenSize && time == m_seenTime)
        return;
    // Another program changed the records: the pins follow the file.
    if (m_pinsLoaded && m_pins.load(m_store, m_count))
        noteOwnWrite();
}

}  // namespace tb
