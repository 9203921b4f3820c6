#include "core/db/database.h"

#include "core/base/number_text.h"
#include "core/base/safe_write.h"
#include "core/base/value_files.h"
#include "core/cards/card_creation.h"
#include "core/cards/card_fields.h"
#include "core/db/database_files.h"

#include <QDir>
#include <QFileInfo>
#include <QHash>

#include <cerrno>

namespace tb {

namespace {
const QString kNotADatabase = QStringLiteral(" Ce dossier ne contient pas de base de données Tabulon !");
}

Database::Database(const QString& folder, Access access) : m_store(folder), m_access(access) {}

Result<std::unique_ptr<Database>> Database::open(const QString& folder, Access access)
{
    if (!isDatabaseFolder(folder))
        return Error{kNoErrorNumber, kNotADatabase};
    std::unique_ptr<Database> db(new Database(folder, access));
    if (Status s = db->load(); !s)
        return s.error();
    return db;
}

Status Database::load()
{
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
    return m_store.writeCaptions(captions);
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
    return hitList(m_store, m_count, pins().cardsAt(x, y));
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
