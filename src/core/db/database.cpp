#include "core/db/database.h"
#include "core/db/count_file.h"
#include "core/base/freed_memory.h"
#include "core/db/program_folder.h"

#include "core/base/number_text.h"
#include "core/base/safe_write.h"
#include "core/base/value_files.h"
#include "core/cards/card_fields.h"
#include "core/cards/pin_field.h"
#include "core/db/card_deletion.h"
#include "core/db/card_restoration.h"
#include "core/db/database_files.h"
#include "core/lists/display_line.h"
#include "core/lists/search_rank.h"
#include "core/base/collation.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QHash>

#include <QRegularExpression>
#include <array>

#include <cerrno>
#include <cstdio>
#include <optional>
#include <unistd.h>

namespace tb {

namespace {
const QString kNotADatabase = QStringLiteral(" Ce dossier ne contient pas de base de données Tabulon !");
// Temporary files of whole-file writes that a crash cut short (the file they
// were to replace is intact), and the side files of numbers past the count: a
// creation cut short made them for a card that does not exist, and the next
// new card would take them. Only under the lock: no write of ours runs then.
// Returns the documents a user made among them.
bool isUserDocument(const QString& prefix)
{
    const std::optional<SideFile> kind = sideFileOfPrefix(prefix);
    return kind && tb::isUserDocument(*kind);
}

QStringList removeLeftovers(const QString& folder, long long count)
{
    // A temporary file another program still holds (an export being written) stays.
    removeAbandonedTemporaries(folder);
    static const QRegularExpression side(QStringLiteral("^") + sideFileNamePattern() + u'$',
                                         QRegularExpression::CaseInsensitiveOption);
    QStringList documents;
    for (const QString& name : QDir(folder).entryList(QDir::Files | QDir::Hidden | QDir::System, QDir::Name)) {
        const QRegularExpressionMatch m = side.match(name);
        const bool orphan = m.hasMatch() && m.captured(2).toLongLong() > count;
        if (orphan && ::unlink(QFile::encodeName(folder + name).constData()) == 0 && isUserDocument(m.captured(1)))
            documents << name;
    }
    return documents;
}


}

Database::Database(const QString& folder, Access access)
    : m_store(folder), m_access(access), m_search(m_store), m_records(m_store.recordFile())
{
    // The kept list keys follow every change of the cards.
    connect(this, &Database::cardStored, this, &Database::keysFollow);
    connect(this, &Database::countChanged, this, &Database::keysResize);
    connect(this, &Database::cardsRenumbered, this, [this] {
        dropKeys();
        m_namesStale = true;
    });
}

Result<std::unique_ptr<Database>> Database::open(const QString& folder, Access access)
{
    if (!isDatabaseFolder(folder))
        return Error{kNoErrorNumber, kNotADatabase};
    if (Status s = refuseProgramFolder(folder); !s)
        return s.error();
    std::unique_ptr<Database> db(new Database(folder, access));
    if (access == Access::ReadWrite) {
        Result<std::shared_ptr<DatabaseLock>> lock = lockDatabase(folder);
        if (!lock)
            return lock.error();
        db->m_lock = std::move(lock).value();
    }
    // A deletion cut short is finished before anything reads the cards.
    if (access == Access::ReadWrite) {
        if (deletionPending(folder))
            if (Status s = db->finishDeletion(); !s)
                return s.error();
        if (CardRestoration::pending(folder))
            if (Status s = CardRestoration(db->m_store).resume(); !s)
                return s.error();
        if (db->m_lock)
            db->trash().dropLeftovers();
    }
    if (Status s = db->load(); !s)
        return s.error();
    if (db->m_lock) {
        const QStringList documents = removeLeftovers(folder, db->m_count);
        if (!documents.isEmpty())
            db->m_correction += QStringLiteral(" Documents retirés, faute de fiche à leur numéro : ")
                                + documents.join(QStringLiteral(", ")) + u'.';
    }
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
    // card over card 1, and a card past a smaller count is never overwritten:
    // the records up to the last one that holds a card are the truth.
    if (!reading.valid || reading.value != records) {
        const Result<long long> used = m_store.lastUsedRecord(records);
        if (!used)
            return used.error();
        const long long corrected = reading.valid && reading.value < records ? std::max(reading.value, *used) : *used;
        if (corrected != reading.value || !reading.valid) {
            m_count = corrected;
            m_correction = QStringLiteral(" Le nombre de fiches a été corrigé : ") + plainNumber(corrected)
                           + QStringLiteral(" fiche(s).");
            if (!readOnly())
                if (Status s = m_store.writeCount(corrected); !s)
                    return s;
        }
    }
    m_records.note();
    return {};
}

Result<std::unique_ptr<Database>> Database::create(const QString& programFolder, const QString& name,
                                                   QList<Error>* templateErrors)
{
    if (!isSafeDatabaseName(name))
        return Error{kErrorBadFileName, QStringLiteral("nom de fichier incorrect")};
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
    if (!QFileInfo::exists(folder + QLatin1String(kCountFileName)))
        if (Status s = CardStore(folder).writeCount(0); !s)
            return s.error();
    // The new database shows the default map, named by its whole path.
    if (Status s = writePathValue(folder + QLatin1String(kMapFileName), programFolder + QLatin1String(kDefaultMapFileName)); !s)
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
    return readPathValue(file(QLatin1String(kMapFileName)));
}

Status Database::setMapPath(const QString& path)
{
    if (Status s = writePathValue(file(QLatin1String(kMapFileName)), path); !s)
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
    m_records.note();
    if (n <= m_count && m_pinsLoaded)
        m_pins.set(n, card);
    if (n <= m_count)
        searchFollow(n);
    emit cardStored(n);
    return {};
}

Result<CardRecord> Database::validateCard(long long n, const CardRecord& typed)
{
    const CardRecord card = validatedCard(typed);
    if (Status s = storeCard(n, card); !s)
        return s.error();
    return card;
}

Result<long long> Database::createCard(const CardRecord& typed)
{
    return createCards({typed});
}

Result<long long> Database::createCards(const std::vector<CardRecord>& typed, const std::vector<QByteArray>& photos)
{
    refreshIfChanged();
    const long long first = m_count + 1;
    if (typed.empty())
        return first;
    const long long last = first + qsizetype(typed.size()) - 1;
    std::vector<CardRecord> cards = typed;
    QByteArray records;
    records.reserve(qsizetype(cards.size()) * CardRecord::kSize);
    for (CardRecord& card : cards) {
        card = validatedCard(card);
        records += card.toBytes();
    }
    // The side files first, then the records, then the count: a creation cut
    // short leaves side files past the count, which the next opening removes,
    // or whole cards with all their files, which it counts in. A failure
    // takes back all it wrote.
    const Status made = writeNewCards(first, cards.size(), records, photos);
    if (!made) {
        discardPastCount(last).ok();
        m_records.note();
        return made.error();
    }
    for (long long n = first; n <= last; ++n) {
        if (m_pinsLoaded)
            m_pins.set(n, cards[size_t(n - first)]);
        searchFollow(n);
        emit cardStored(n);
    }
    emit countChanged(last);
    return first;
}

Status Database::writeNewCards(long long first, size_t cards, const QByteArray& records,
                               const std::vector<QByteArray>& photos)
{
    const long long last = first + qsizetype(cards) - 1;
    // A new card never finds files of its number already there.
    if (Status s = discardPastCount(last); !s)
        return s;
    for (size_t k = 0; k < photos.size() && k < cards; ++k)
        if (!photos[k].isEmpty())
            if (Status s = writeFileAtomic(file(sideFileName(SideFile::Photo, first + qsizetype(k))), photos[k]); !s)
                return s;
    QList<std::pair<QString, QString>> copies;
    for (long long n = first; n <= last; ++n)
        for (const SideFile kind : kTemplatedSideFiles)
            copies.append({file(sideFileTemplate(kind)), file(sideFileName(kind, n))});
    if (Status s = copyFilesReplacing(copies); !s)
        return s;
    if (Status s = m_store.writeRecords(first, records); !s)
        return s;
    m_records.note();
    return writeCount(last);
}

Status Database::discardPastCount(long long last)
{
    if (readOnly())
        return Error{kErrorPermission, {}};
    Status result = m_store.truncateRecords(m_count);
    for (long long n = m_count + 1; n <= last; ++n)
        for (const QString& name : sideFileSpellings(n))
            if (::unlink(QFile::encodeName(file(name)).constData()) != 0 && errno != ENOENT && result)
                result = Error::fromErrno(errno, file(name));
    m_sideFiles = {};
    return result;
}

Status Database::abandonCreation()
{
    const Status s = discardPastCount(m_count + 1);
    m_records.note();
    return s;
}

bool Database::deletionPending(const QString& folder)
{
    return CardDeletion::pending(folder);
}

Status Database::deleteCard(long long n, CardDeletion::Keep keep, int* trashEntry)
{
    if (readOnly())
        return Error{kErrorPermission, {}};
    if (deletionPending(folder())) {
        // An earlier deletion stopped on an error: numbers are about to change,
        // so that one is finished and this one is not started.
        Status s = finishDeletion();
        emit countChanged(m_count);
        emit cardsRenumbered();
        if (!s)
            return s;
        return Error{kErrorPathAccess, QStringLiteral("une suppression inachevée vient d'être terminée")};
    }
    if (n < 1 || n > m_count)
        return Error{kErrorPathAccess, QStringLiteral("la fiche n° ") + plainNumber(n) + QStringLiteral(" n'existe pas")};
    refreshIfChanged();
    const Result<CardDeletion::Outcome> outcome = CardDeletion(m_store).run(n, m_count, keep, QDateTime::currentDateTime());
    if (trashEntry)
        *trashEntry = outcome ? outcome->trashEntry : 0;
    const Status s = followDeletion(outcome);
    emit countChanged(m_count);
    emit cardsRenumbered();
    return s;
}

Result<long long> Database::restoreFromTrash(int entry)
{
    if (readOnly())
        return Error{kErrorPermission, {}};
    refreshIfChanged();
    const Status s = CardRestoration(m_store).run(entry, m_count);
    const CardStore::CountReading count = m_store.readCount();
    if (!s || !count.valid || count.value != m_count + 1)
        return s ? Error{kErrorPathAccess, QStringLiteral("la fiche n'a pas été restaurée")} : s.error();
    const long long n = count.value;
    m_count = n;
    m_sideFiles = {};
    if (m_pinsLoaded) {
        m_pins.resize(n);
        if (const Result<CardRecord> card = m_store.read(n))
            m_pins.set(n, *card);
    }
    searchFollow(n);
    m_records.note();
    emit cardStored(n);
    emit countChanged(n);
    return n;
}

Status Database::finishDeletion()
{
    return followDeletion(CardDeletion(m_store).resume());
}

Status Database::followDeletion(const Result<CardDeletion::Outcome>& outcome)
{
    // Even a deletion stopped on an error may have lowered the count.
    if (const CardStore::CountReading count = m_store.readCount(); count.valid)
        m_count = std::min(m_count > 0 ? m_count : count.value, count.value);
    m_sideFiles = {};
    if (m_pinsLoaded)
        m_pins.load(m_store, m_count).ok();
    if (outcome && outcome->deleted > 0)
        searchFollow(outcome->deleted);
    m_records.note();
    return outcome.status();
}

Status Database::setArchived(long long n, bool archived)
{
    if (n < 1 || n > m_count)
        return Error{kErrorPathAccess, QStringLiteral("la fiche n° ") + plainNumber(n) + QStringLiteral(" n'existe pas")};
    Result<CardRecord> card = m_store.read(n);
    if (!card)
        return card.error();
    PinField::of(*card).withMarker(archived ? u'0' : u'1').writeInto(*card);
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

QString Database::findSideFile(SideFile kind, long long n) const
{
    const QString name = sideFileName(kind, n);
    if (QFileInfo::exists(file(name)))
        return file(name);
    // Names in other cases, from one listing of the folder kept while the
    // folder is unchanged (a folder of many cards holds many files).
    if (!m_sideFiles.isCurrent())
        m_sideFiles = FolderIndex(folder());
    const QString found = m_sideFiles.find(name);
    return file(found.isEmpty() ? name : found);
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

QString Database::name() const
{
    return QDir(folder()).dirName();
}

Status Database::backup(const QString& target) const
{
    // The lock names the program that holds this folder: a copy of it would
    // keep the backup locked while that program runs.
    const long long known = m_count;
    if (Status s = copyFolder(folder(), target, {QLatin1String(kCountFileName)}, {databaseLockName()}); !s)
        return s;
    // A creation under way elsewhere is not part of the copy; cards this
    // program counted in past a smaller count are.
    const CardStore copy(target);
    const CardStore::CountReading copied = copy.readCount();
    const long long kept = std::max(copied.valid ? copied.value : 0, known);
    if (Status s = copy.truncateRecords(kept); !s)
        return s;
    removeLeftovers(target, kept);
    return {};
}

const PinIndex& Database::pins() const
{
    // Read on first use: commands that only list or show never pay for it.
    if (!m_pinsLoaded) {
        m_pinsLoaded = true;
        m_pins.load(m_store, m_count).ok();
        m_records.note();
    }
    refreshIfChanged();
    return m_pins;
}

Result<CardList> Database::list(ListKind kind) const
{
    const Result<std::shared_ptr<const SortKeys>> keys = sortKeys(kind);
    if (!keys)
        return keys.error();
    if (!*keys)
        return buildCardList(m_store, m_count, kind);
    return ListFill::sortAll(*keys, m_store, kind, ListOrder::Line);
}

Result<CardList> Database::nameList() const
{
    const Result<std::shared_ptr<const SortKeys>> keys = sortKeys(ListKind::Alphabetical);
    if (!keys)
        return keys.error();
    if (m_namesBuild.valid()) {
        Result<CardList> names = m_namesBuild.get();
        const bool stale = std::exchange(m_namesStale, false);
        std::vector<long long> changed;
        changed.swap(m_namesChanged);
        if (names && !stale) {
            // Changed cards since: their lines move to their places.
            for (long long n : changed)
                if (const Result<CardRecord> card = m_store.read(n); card)
                    names->replace(n, nameEntry(*card));
            return names;
        }
    }
    if (!*keys)
        return buildNameList(m_store, m_count);
    return ListFill::sortAll(*keys, m_store, ListKind::Alphabetical, ListOrder::Name);
}

Result<std::shared_ptr<ListFill>> Database::fillList(ListKind kind, int firstRows) const
{
    const Result<std::shared_ptr<const SortKeys>> keys = sortKeys(kind);
    if (!keys)
        return keys.error();
    if (!*keys) {
        Result<CardList> whole = list(kind);
        if (!whole)
            return whole.error();
        return ListFill::whole(kind, ListOrder::Line, std::move(whole).value());
    }
    return ListFill::start(*keys, m_store, kind, ListOrder::Line, firstRows);
}

Result<std::shared_ptr<ListFill>> Database::fillNameList(int firstRows) const
{
    const Result<std::shared_ptr<const SortKeys>> keys = sortKeys(ListKind::Alphabetical);
    if (!keys)
        return keys.error();
    if (!*keys) {
        Result<CardList> whole = nameList();
        if (!whole)
            return whole.error();
        return ListFill::whole(ListKind::Alphabetical, ListOrder::Name, std::move(whole).value());
    }
    return ListFill::start(*keys, m_store, ListKind::Alphabetical, ListOrder::Name, firstRows);
}

void Database::prepareLists() const
{
    if (m_sortKeys || m_keysBuild.valid() || !SortKeys::usable())
        return;
    m_keysChanged.clear();
    m_keysStale = false;
    m_keysBuild = std::async(std::launch::async, [store = m_store, count = m_count]() -> Result<std::shared_ptr<SortKeys>> {
        auto keys = std::make_shared<SortKeys>(keyFields(ListKind::Alphabetical));
        const Status s = keys->load(store, count);
        returnFreedMemory();
        if (!s)
            return s.error();
        return keys;
    });
}

void Database::dropKeys() const
{
    m_sortKeys.reset();
    if (m_keysBuild.valid())
        m_keysStale = true;
}

bool Database::takePreparedKeys() const
{
    if (!m_keysBuild.valid())
        return false;
    Result<std::shared_ptr<SortKeys>> keys = m_keysBuild.get();
    std::vector<long long> changed;
    changed.swap(m_keysChanged);
    if (!keys || std::exchange(m_keysStale, false))
        return false;  // read again at once
    // The cards changed while they were made follow, as they would have.
    std::shared_ptr<SortKeys> made = std::move(keys).value();
    if (!made->resize(m_store, m_count))
        return false;
    for (long long n : changed) {
        if (n < 1 || n > m_count)
            continue;
        const Result<CardRecord> card = m_store.read(n);
        if (!card)
            return false;
        made->set(n, QByteArrayView(card->toBytes()));
    }
    m_sortKeys = std::move(made);
    return true;
}

Result<std::shared_ptr<const SortKeys>> Database::sortKeys(ListKind kind) const
{
    if (!SortKeys::usable())
        return std::shared_ptr<const SortKeys>();
    const KeyFields fields = keyFields(kind);
    refreshIfChanged();
    const bool alphabetical = fields == keyFields(ListKind::Alphabetical);
    const bool prepared = alphabetical && takePreparedKeys();
    if (alphabetical && m_sortKeys && !prepared)
        return std::shared_ptr<const SortKeys>(m_sortKeys);
    std::shared_ptr<SortKeys> keys = prepared ? m_sortKeys : std::make_shared<SortKeys>(fields);
    if (!prepared)
        if (Status s = keys->load(m_store, m_count); !s)
            return s.error();
    if (alphabetical) {
        m_sortKeys = keys;
        m_records.note();
        // The card window's name list is sorted meanwhile from the same keys.
        if (!m_namesBuild.valid()) {
            m_namesStale = false;
            m_namesChanged.clear();
            m_namesBuild = std::async(std::launch::async, [keys = std::shared_ptr<const SortKeys>(keys), store = m_store] {
                Result<CardList> names = ListFill::sortAll(keys, store, ListKind::Alphabetical, ListOrder::Name);
                returnFreedMemory();
                return names;
            });
        }
    }
    return std::shared_ptr<const SortKeys>(keys);
}

void Database::keysFollow(long long n)
{
    if (m_namesBuild.valid())
        m_namesChanged.push_back(n);
    if (m_keysBuild.valid())
        m_keysChanged.push_back(n);
    if (!m_sortKeys || n < 1 || n > m_count)
        return;
    const Result<CardRecord> card = m_store.read(n);
    if (!card) {
        m_sortKeys.reset();
        return;
    }
    // A list still sorting holds the keys as they were.
    if (m_sortKeys.use_count() > 1)
        m_sortKeys = std::make_shared<SortKeys>(*m_sortKeys);
    m_sortKeys->set(n, QByteArrayView(card->toBytes()));
}

void Database::keysResize(long long count)
{
    m_namesStale = true;
    if (!m_sortKeys || count == m_sortKeys->count())
        return;
    if (m_sortKeys.use_count() > 1)
        m_sortKeys = std::make_shared<SortKeys>(*m_sortKeys);
    if (!m_sortKeys->resize(m_store, count))
        m_sortKeys.reset();
}

Result<CardList> Database::cardsAt(double x, double y) const
{
    return cardsIn(clickSquare(x, y));
}

Result<CardList> Database::cardsIn(const OpenRect& area) const
{
    return hitList(m_store, m_count, pins().cardsIn(area));
}

void Database::refreshIfChanged() const
{
    if (!m_records.changed())
        return;
    // Another program changed the records: the pins and the search follow
    // the file.
    m_search.restart(m_count);
    dropKeys();
    m_namesStale = true;
    if (m_pinsLoaded && m_pins.load(m_store, m_count))
        m_records.note();
}

const SearchIndex& Database::searchIndex() const
{
    return m_search.index(m_count);
}

Result<Database::SearchResult> Database::search(const QString& typed, int limit) const
{
    return m_search.search(typed, limit, m_count, [this] { return captions(); });
}

}  // namespace tb
