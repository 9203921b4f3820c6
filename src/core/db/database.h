#pragma once
// The open database: one folder's files, its count, captions and map, and the
// commands on its cards. Windows follow its signals instead of calling each
// other.
#include "core/base/error.h"
#include "core/base/file_watch.h"
#include "core/base/folder_index.h"
#include "core/cards/card_record.h"
#include "core/cards/card_store.h"
#include "core/cards/side_files.h"
#include "core/db/card_deletion.h"
#include "core/db/database_lock.h"
#include "core/db/database_search.h"
#include "core/db/trash.h"
#include "core/lists/card_lists.h"
#include "core/lists/search_index.h"
#include "core/lists/sort_keys.h"
#include "core/map/pin_index.h"

#include <QDateTime>
#include <QHash>
#include <QObject>
#include <future>
#include <memory>

namespace tb {

class Database : public QObject {
    Q_OBJECT
public:
    enum class Access { ReadWrite, ReadOnly };

    // folder ends with "/". A folder without "NBFiches.dat" or "carte.txt" is
    // refused with " Ce dossier ne contient pas de base de données Tabulon !".
    // Open for writing, the folder is locked against other programs (see
    // lockDatabase); open read-only, it is neither locked nor changed.
    // A count that is no whole number, more than the records, or less than the
    // last record holding a card is corrected (rewritten unless read-only) and
    // countCorrection() tells the user. Open for writing, side files of
    // numbers past the count are removed (the documents a user made among
    // them named in countCorrection()).
    static Result<std::unique_ptr<Database>> open(const QString& folder, Access access = Access::ReadWrite);

    // A new database folder named name in the program folder, with the
    // program folder's templates. templateErrors receives the templates that
    // could not be copied (the database is usable all the same).
    static Result<std::unique_ptr<Database>> create(const QString& programFolder, const QString& name,
                                                    QList<Error>* templateErrors = nullptr);

    QString folder() const { return m_store.folder(); }
    QString file(const QString& name) const { return m_store.file(name); }
    const CardStore& store() const { return m_store; }
    bool readOnly() const { return m_access == Access::ReadOnly; }

    long long count() const { return m_count; }
    // " Le nombre de fiches a été corrigé : N fiche(s)." and/or the documents
    // removed, or "".
    QString countCorrection() const { return m_correction; }

    // An empty database takes the program folder's current spreadsheet and
    // captions templates.
    Status refreshTemplates(const QString& programFolder);

    QStringList captions() const;
    Status setCaptions(const QStringList& captions);

    // The map of the database ("carte.txt").
    QString mapPath() const;
    Status setMapPath(const QString& path);

    // Card n as stored (blank past the end).
    Result<CardRecord> card(long long n) const;
    // Stores card n (1..count+1). Writes nothing when it is unchanged.
    Status storeCard(long long n, const CardRecord& card);
    // "Valider la modification": card n as typed, validated (the surname in
    // capitals), then stored. Returns the card as stored.
    Result<CardRecord> validateCard(long long n, const CardRecord& typed);
    // Card count+1 from the texts of a creation: validated, the
    // record, the card's side files from the templates, then the count.
    // Returns the new card's number.
    Result<long long> createCard(const CardRecord& card);
    // Cards count+1 onwards as createCard makes each, all or none: the side
    // files with one flush (photos[k], JPEG bytes, as card k's photo), the
    // records in one write, then the count. A failure leaves no record and
    // no file past the count. Returns the first new card's number.
    Result<long long> createCards(const std::vector<CardRecord>& cards, const std::vector<QByteArray>& photos = {});
    // A creation given up: what it wrote past the count (the record of a debt
    // calculation) is taken back.
    Status abandonCreation();

    // Deletes card n: it is kept whole in the trash (unless keep says not),
    // the last card moves into its number with its record and side files,
    // and the count drops, crash-safely (see CardDeletion).
    // trashEntry receives the entry that keeps it (0: none).
    Status deleteCard(long long n, CardDeletion::Keep keep = CardDeletion::Keep::InTrash, int* trashEntry = nullptr);
    Trash trash() const { return Trash(folder()); }
    // Trash entry comes back as card count+1, its side files and journals
    // named for it, and leaves the trash. Returns the card's number.
    Result<long long> restoreFromTrash(int entry);
    // Marker "0" (archived) or "1" (active again); the position text stays.
    Status setArchived(long long n, bool archived);
    // True while "suppression.txt" holds an unfinished deletion.
    static bool deletionPending(const QString& folder);

    // Side file of card n whatever the case of its name on disk; the name the
    // program makes when there is none.
    QString findSideFile(SideFile kind, long long n) const;

    // Where a file chosen for a card goes: base ("photo12") and the source's
    // extension in lower case, its three-letter form (".jpeg" gives ".jpg").
    QString attachmentPath(const QString& base, const QString& source) const;

    // The folder's name ("BasePerso").
    QString name() const;
    // Copies every file of the folder into target (made when missing), a
    // pending "suppression.txt" included. The count goes first: cards stored
    // meanwhile by another program only add records past what it claims,
    // which the copy leaves out with their side files: it holds the cards as
    // they were when it began.
    Status backup(const QString& target) const;

    const PinIndex& pins() const;
    Result<CardList> list(ListKind kind) const;
    Result<CardList> nameList() const;
    // The same lists sorted in stages: the first firstRows rows at once, the
    // rest on another thread (see ListFill).
    Result<std::shared_ptr<ListFill>> fillList(ListKind kind, int firstRows) const;
    Result<std::shared_ptr<ListFill>> fillNameList(int firstRows) const;
    // Starts making the alphabetical lists' keys in the background: the first
    // list waits only for what is left of it.
    void prepareLists() const;
    Result<CardList> cardsAt(double x, double y) const;
    // The active cards strictly inside area (a zone), in increasing card
    // number, with the lines of a map click.
    Result<CardList> cardsIn(const OpenRect& area) const;

    // The search box's search (see DatabaseSearch).
    void prepareSearch() const { m_search.prepare(m_count); }
    using SearchResult = tb::SearchResult;
    Result<SearchResult> search(const QString& typed, int limit = 0) const;
    const SearchIndex& searchIndex() const;

signals:
    void cardStored(long long n);
    void countChanged(long long count);
    void cardsRenumbered();
    void mapChanged();
    // The captions of fields 11 to 20 were rewritten.
    void captionsChanged();

private:
    Database(const QString& folder, Access access);
    Status load();
    Status finishDeletion();
    Status followDeletion(const Result<CardDeletion::Outcome>& outcome);
    Status writeCount(long long count);
    Status writeNewCards(long long first, size_t cards, const QByteArray& records,
                         const std::vector<QByteArray>& photos);
    // Records past the count cut off, side files of count+1..last removed.
    Status discardPastCount(long long last);
    // Reads the pins and the search again when "lesfiches.dat" changed
    // under the program.
    void refreshIfChanged() const;
    // Card n changed (or the count did): the search index follows.
    void searchFollow(long long n) const { m_search.follow(n, m_count); }
    // The keys of the lists on kind's fields: the alphabetical ones kept and
    // following the cards, the others made for the list. Null when the keys
    // cannot sort (the lists then sort their lines).
    Result<std::shared_ptr<const SortKeys>> sortKeys(ListKind kind) const;
    // Card n changed, or the count did: the kept keys follow.
    void keysFollow(long long n);
    void keysResize(long long count);
    // The keys made in the background, once they are asked for; false when
    // there were none to take (or they were stale).
    bool takePreparedKeys() const;
    void dropKeys() const;


    CardStore m_store;
    Access m_access;
    std::shared_ptr<DatabaseLock> m_lock;
    long long m_count = 0;
    QString m_correction;
    mutable PinIndex m_pins;
    mutable bool m_pinsLoaded = false;
    mutable DatabaseSearch m_search;
    mutable std::shared_ptr<SortKeys> m_sortKeys;  // shared with the lists being sorted
    // The same keys being made in the background, with the cards changed
    // since it started (stale: made again).
    mutable std::future<Result<std::shared_ptr<SortKeys>>> m_keysBuild;
    mutable std::vector<long long> m_keysChanged;
    mutable bool m_keysStale = false;
    // The name list sorted from the kept keys on another thread, for the
    // card window, with the cards changed since it started.
    mutable std::future<Result<CardList>> m_namesBuild;
    mutable std::vector<long long> m_namesChanged;
    mutable bool m_namesStale = false;
    mutable FolderIndex m_sideFiles;
    // The records as this program last wrote or read them.
    mutable FileWatch m_records;
};

}  // namespace tb
