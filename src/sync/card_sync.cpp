#include "sync/card_sync.h"

#include "core/base/number_text.h"
#include "core/base/safe_write.h"
#include "core/db/backups.h"
#include "core/db/carddav_state.h"
#include "core/db/database.h"
#include "core/exchange/vcard.h"
#include "core/exchange/vcard_merge.h"

#include <QFileInfo>
#include <QSet>
#include <map>

namespace tb {

namespace {

// Contacts fetched and applied between two writes of the state: a sync cut
// off redoes at most this many.
constexpr size_t kFetchStep = 500;
// Uploads between two writes of the state; a PUT whose answer was lost is
// made again safely (If-None-Match, the href of the UID).
constexpr int kPutStep = 500;

QString cardText(long long n)
{
    return QStringLiteral("fiche n° ") + plainNumber(n);
}

class Sync {
public:
    Sync(Database& db, const SyncOptions& options)
        : m_db(db), m_options(options), m_client(options.server), m_captions(exchangeCaptions(db.captions()))
    {
    }

    SyncReport run()
    {
        if (Status s = start(); !s)
            return stop(s.error());
        if (Status s = remote(); !s)
            return stop(s.error());
        if (Status s = local(); !s)
            return stop(s.error());
        return finish();
    }

private:
    enum class Settled { Upload, Stored, Left };

    Database& m_db;
    const SyncOptions& m_options;
    CardDavClient m_client;
    QStringList m_captions;
    CardDavState m_state;
    std::map<long long, CardDavEntry> m_cards;  // by card number
    QHash<QString, QByteArray> m_fetched;       // by UID
    bool m_fetchedChanged = false;
    bool m_loaded = false;
    QUrl m_book;
    SyncReport m_report;
    std::optional<ConflictDecision> m_forAll;
    QSet<long long> m_inConflict;  // left undecided this time: not uploaded
    long long m_newIndex = 0;

    SyncReport stop(const Error& error)
    {
        m_report.error = error;
        m_report.passwordRefused = m_client.lastStatus() == 401;
        m_state.lastStatus = error.message();
        // What was done stays known (the error told is the first one); a
        // state that could not be read is never written over.
        if (m_loaded)
            save().ok();
        return m_report;
    }

    SyncReport finish()
    {
        m_state.lastStatus = m_report.statusLine(QDateTime::currentDateTime());
        if (Status s = save(); !s)
            m_report.error = s.error();
        return m_report;
    }

    Status save()
    {
        if (m_fetchedChanged) {
            if (Status s = writeFetchedVCards(m_db.folder(), m_fetched); !s)
                return s;
            m_fetchedChanged = false;
        }
        m_state.cards.clear();
        m_state.cards.reserve(m_cards.size());
        for (const auto& [n, entry] : m_cards)
            m_state.cards.push_back(entry);
        return writeCardDavState(m_db.folder(), m_state);
    }

    // The state as the file holds it (a deletion here changes it).
    Status load()
    {
        Result<CardDavState> state = readCardDavState(m_db.folder());
        if (!state)
            return state.error();
        m_state = std::move(*state);
        m_cards.clear();
        for (const CardDavEntry& e : m_state.cards)
            m_cards[e.card] = e;
        return {};
    }

    Status start()
    {
        if (Status s = load(); !s)
            return s;
        Result<QHash<QString, QByteArray>> fetched = readFetchedVCards(m_db.folder());
        if (!fetched)
            return fetched.error();
        m_fetched = std::move(*fetched);
        m_loaded = true;
        const QString server = m_options.server.url.toString();
        const bool firstTime = m_state.cards.empty() && m_state.syncToken.isEmpty();
        if (firstTime && !m_options.programFolder.isEmpty())
            if (Result<QString> kept = replaceAutomaticBackup(m_db, m_options.programFolder); !kept)
                return kept.error();
        // Where the sync points is the settings' business (pointStateAt), never the sync's.
        if (m_state.server.isEmpty())
            m_state.server = server;
        m_state.user = m_options.server.user;
        m_state.acceptedCertificate = m_options.server.acceptedCertificate;
        if (m_state.addressBook.isEmpty()) {
            Result<std::vector<AddressBookInfo>> books = m_client.discover();
            if (!books)
                return books.error();
            if (books->size() > 1)
                return Error{kNoErrorNumber, QStringLiteral("Erreur de synchronisation : le serveur a ")
                                                 + QString::number(books->size())
                                                 + QStringLiteral(" carnets d'adresses, choisissez-en un.")};
            m_state.addressBook = books->front().url.toString();
            if (Status s = save(); !s)
                return s;
        }
        m_book = QUrl(m_state.addressBook);
        return {};
    }

    Result<QByteArray> photoOf(long long n) const
    {
        const QString path = m_db.findSideFile(SideFile::Photo, n);
        if (!QFileInfo::exists(path))
            return QByteArray();
        return readFile(path);
    }

    Result<QByteArray> ourVCard(long long n, const CardRecord& card) const
    {
        Result<QByteArray> photo = photoOf(n);
        if (!photo)
            return photo.error();
        return vCardOf(card, m_captions, *photo);
    }

    struct CardNow {
        CardRecord card;
        QByteArray vcard;
    };
    // Card n as stored now, with the vCard it would be sent as.
    Result<CardNow> cardNow(long long n) const
    {
        Result<CardRecord> card = m_db.card(n);
        if (!card)
            return card.error();
        Result<QByteArray> vcard = ourVCard(n, *card);
        if (!vcard)
            return vcard.error();
        return CardNow{std::move(*card), std::move(*vcard)};
    }

    // The remote contact as card n would hold it (its pin kept unless the
    // contact carries one); none when it cannot be read. photo: its JPEG,
    // empty when it has none, none when it cannot be read (the card's stays).
    std::optional<CardRecord> cardOfRemote(const RemoteContact& remote, const CardRecord* here,
                                           std::optional<QByteArray>* photo = nullptr)
    {
        const std::vector<Contact> contacts = readVCards(remote.vcard, m_captions);
        if (contacts.empty()) {
            m_report.notes << QStringLiteral("Contact illisible sur le serveur, ignoré : ") + remote.href;
            return std::nullopt;
        }
        CardRecord card = cardOfContact(contacts.front(), m_captions, m_options.placement, 1, m_newIndex, nullptr);
        // An archived card stays archived whatever marker the contact carries.
        if (here && (!contacts.front().pin || !here->isActive()))
            card.field(kFieldPosition) = here->field(kFieldPosition);
        if (photo) {
            *photo = QByteArray();
            if (!contacts.front().photo.isEmpty()) {
                *photo = jpegOf(contacts.front().photo);
                if ((*photo)->isEmpty()) {
                    photo->reset();
                    m_report.notes << QStringLiteral("Photo illisible ou trop grande, non reprise : ") + remote.href;
                }
            }
        }
        return card;
    }

    void keepFetched(const QString& uid, const QByteArray& vcard)
    {
        m_fetched.insert(uid, vcard);
        m_fetchedChanged = true;
    }

    void dropFetched(const QString& uid)
    {
        m_fetchedChanged = m_fetched.remove(uid) > 0 || m_fetchedChanged;
    }

    // Stores the remote contact into card n: what is there now is what was sent.
    // A photo removed there is removed here, as any owned property is.
    Status storeRemote(CardDavEntry& entry, const RemoteContact& remote, const CardRecord& card,
                       const std::optional<QByteArray>& photo)
    {
        if (photo)
            if (Status s = keepContactPhoto(m_db, entry.card, *photo); !s)
                return s;
        if (Status s = m_db.storeCard(entry.card, card); !s)
            return s;
        Result<QByteArray> ours = ourVCard(entry.card, card);
        if (!ours)
            return ours.error();
        entry.etag = remote.etag;
        entry.sentDigest = vCardDigest(*ours, m_captions);
        keepFetched(entry.uid, remote.vcard);
        ++m_report.received;
        return {};
    }

    // Card n changed here and there: the user's choice, or left for next time.
    Result<Settled> settle(CardDavEntry& entry, const CardRecord& here, const RemoteContact& remote)
    {
        std::optional<QByteArray> photo;
        const std::optional<CardRecord> there = cardOfRemote(remote, &here, &photo);
        if (!there)
            return Settled::Left;
        ConflictDecision decision;
        if (m_forAll)
            decision = *m_forAll;
        else if (m_options.resolve)
            decision = m_options.resolve(SyncConflict{entry.card, here, *there});
        if (decision.forAll && (decision.choice == ConflictChoice::KeepHere || decision.choice == ConflictChoice::KeepThere))
            m_forAll = decision;
        switch (decision.choice) {
        case ConflictChoice::Undecided:
            ++m_report.conflicts;
            m_inConflict.insert(entry.card);
            m_report.notes << cardText(entry.card) + QStringLiteral(" : changée ici et sur le serveur, laissée en conflit");
            return Settled::Left;
        case ConflictChoice::KeepThere:
            if (Status s = storeRemote(entry, remote, *there, photo); !s)
                return s.error();
            return Settled::Stored;
        case ConflictChoice::Merge:
            if (Status s = m_db.storeCard(entry.card, decision.merged); !s)
                return s.error();
            [[fallthrough]];
        case ConflictChoice::KeepHere:
            // Sent over what is there now.
            entry.etag = remote.etag;
            entry.sentDigest.clear();
            keepFetched(entry.uid, remote.vcard);
            return Settled::Upload;
        }
        return Settled::Left;
    }

    // A contact changed there, known here as entry.
    Status applyKnown(CardDavEntry& entry, const RemoteContact& remote)
    {
        Result<CardNow> now = cardNow(entry.card);
        if (!now)
            return now.error();
        const CardRecord* here = &now->card;
        const QByteArray digestHere = vCardDigest(now->vcard, m_captions);
        const bool same = digestHere == vCardDigest(remote.vcard, m_captions);
        if (same || (entry.etag.isEmpty() && entry.sentDigest.isEmpty())) {
            // The same on both sides, or our own upload whose answer was lost:
            // sent again over it if it differs.
            entry.etag = remote.etag;
            if (same)
                entry.sentDigest = digestHere;
            keepFetched(entry.uid, remote.vcard);
            return {};
        }
        if (digestHere == entry.sentDigest || !here->isActive()) {
            std::optional<QByteArray> photo;
            const std::optional<CardRecord> card = cardOfRemote(remote, here, &photo);
            if (!card) {
                entry.etag = remote.etag;
                return {};
            }
            return storeRemote(entry, remote, *card, photo);
        }
        Result<Settled> settled = settle(entry, *here, remote);
        return settled.status();
    }

    Status createNew(const std::vector<RemoteContact>& contacts)
    {
        std::vector<CardRecord> cards;
        std::vector<QByteArray> photos;
        std::vector<const RemoteContact*> from;
        for (const RemoteContact& remote : contacts) {
            std::optional<QByteArray> photo;
            if (std::optional<CardRecord> card = cardOfRemote(remote, nullptr, &photo)) {
                ++m_newIndex;
                cards.push_back(*card);
                photos.push_back(photo.value_or(QByteArray()));
                from.push_back(&remote);
            }
        }
        if (cards.empty())
            return {};
        Result<long long> first = m_db.createCards(cards, photos);
        if (!first)
            return first.error();
        for (size_t k = 0; k < cards.size(); ++k) {
            const long long n = *first + qsizetype(k);
            QString uid = vCardUid(from[k]->vcard);
            if (uid.isEmpty())
                uid = QFileInfo(from[k]->href).completeBaseName();
            Result<QByteArray> ours = ourVCard(n, cards[k]);
            if (!ours)
                return ours.error();
            m_cards[n] = CardDavEntry{n, uid, from[k]->href, from[k]->etag, vCardDigest(*ours, m_captions)};
            keepFetched(uid, from[k]->vcard);
        }
        m_report.created += qsizetype(cards.size());
        m_report.received += qsizetype(cards.size());
        return {};
    }

    // Card n into the trash here because its contact is gone there.
    Status trashHere(const QString& uid)
    {
        if (Status s = save(); !s)
            return s;
        long long n = 0;
        for (const auto& [card, entry] : m_cards)
            if (entry.uid == uid)
                n = card;
        if (n == 0)
            return {};
        // The deletion moves the state along (its entry to deletedHere, the
        // last card's to its number).
        if (Status s = m_db.deleteCard(n); !s)
            return s;
        if (Status s = load(); !s)
            return s;
        // Gone there already: nothing to delete.
        std::erase_if(m_state.deletedHere, [&](const CardDavEntry& e) { return e.uid == uid; });
        dropFetched(uid);
        ++m_report.trashed;
        m_report.notes << cardText(n) + QStringLiteral(" mise à la corbeille : son contact a été supprimé sur le serveur");
        return save();
    }

    Status remote()
    {
        Result<RemoteChanges> changes = m_client.changesSince(m_book, m_state.syncToken);
        if (!changes)
            return changes.error();
        QHash<QString, long long> byHref;
        for (const auto& [n, entry] : m_cards)
            byHref.insert(entry.href, n);
        QHash<QString, size_t> deletedByHref;
        for (size_t k = 0; k < m_state.deletedHere.size(); ++k)
            deletedByHref.insert(m_state.deletedHere[k].href, k);
        std::vector<QString> wanted;
        QSet<QString> listed;
        for (const RemoteContact& c : changes->changed) {
            listed.insert(c.href);
            const auto known = byHref.constFind(c.href);
            if (known != byHref.cend() && m_cards[*known].etag == c.etag)
                continue;
            if (const auto gone = deletedByHref.constFind(c.href); gone != deletedByHref.cend()
                && m_state.deletedHere[*gone].etag == c.etag)
                continue;
            wanted.push_back(c.href);
        }
        std::vector<QString> removed = changes->removed;
        if (changes->full)
            for (const auto& [n, entry] : m_cards)
                if (!entry.etag.isEmpty() && !listed.contains(entry.href))
                    removed.push_back(entry.href);
        for (size_t at = 0; at < wanted.size(); at += kFetchStep) {
            const std::vector<QString> part(wanted.begin() + qsizetype(at),
                                            wanted.begin() + qsizetype(std::min(wanted.size(), at + kFetchStep)));
            Result<std::vector<RemoteContact>> got = m_client.fetch(m_book, part);
            if (!got)
                return got.error();
            std::vector<RemoteContact> fresh;
            for (RemoteContact& remote : *got) {
                if (const auto known = byHref.constFind(remote.href); known != byHref.cend()) {
                    if (Status s = applyKnown(m_cards[*known], remote); !s)
                        return s;
                    continue;
                }
                // Changed there after it was deleted here: it comes back rather than be lost.
                if (std::erase_if(m_state.deletedHere, [&](const CardDavEntry& e) { return e.href == remote.href; }))
                    m_report.notes << QStringLiteral("Contact supprimé ici mais changé sur le serveur, recréé : ")
                                          + remote.href;
                fresh.push_back(std::move(remote));
            }
            if (Status s = createNew(fresh); !s)
                return s;
            for (const auto& [n, entry] : m_cards)
                byHref.insert(entry.href, n);
            if (Status s = save(); !s)
                return s;
        }
        for (const QString& href : removed) {
            if (std::erase_if(m_state.deletedHere, [&](const CardDavEntry& e) { return e.href == href; }))
                continue;
            const auto known = byHref.constFind(href);
            if (known == byHref.cend())
                continue;
            QString uid;
            for (const auto& [n, entry] : m_cards)
                if (entry.href == href)
                    uid = entry.uid;
            if (Status s = trashHere(uid); !s)
                return s;
            byHref.clear();
            for (const auto& [n, entry] : m_cards)
                byHref.insert(entry.href, n);
        }
        m_state.syncToken = changes->syncToken;
        return save();
    }

    QString newHref(const QString& uid) const
    {
        QString path = m_book.path();
        if (!path.endsWith(u'/'))
            path += u'/';
        return path + uid + QStringLiteral(".vcf");
    }

    // Uploads card n (its vCard ours) over what was last fetched of it.
    Status upload(CardDavEntry& entry, const CardRecord& card, const QByteArray& ours, bool retried = false)
    {
        const QByteArray body = mergedVCard(ours, m_fetched.value(entry.uid), entry.uid, m_captions);
        Result<QString> etag = m_client.put(m_book, entry.href, body, entry.etag);
        if (!etag) {
            if (m_client.lastStatus() != 412 || retried)
                return etag.error();
            // Changed there meanwhile (or sent by a sync cut off): fetched again.
            Result<std::vector<RemoteContact>> got = m_client.fetch(m_book, {entry.href});
            if (!got)
                return got.error();
            if (got->empty()) {
                entry.etag.clear();
                return upload(entry, card, ours, true);
            }
            const RemoteContact& remote = got->front();
            const QByteArray theirs = vCardDigest(remote.vcard, m_captions);
            if (theirs == vCardDigest(ours, m_captions)) {
                entry.etag = remote.etag;
                entry.sentDigest = theirs;
                keepFetched(entry.uid, remote.vcard);
                return {};
            }
            if (entry.etag.isEmpty() || theirs == entry.sentDigest) {
                // Our own earlier upload, or a change there to what Tabulon does not own.
                entry.etag = remote.etag;
                keepFetched(entry.uid, remote.vcard);
                m_report.notes << cardText(entry.card) + QStringLiteral(" : changée sur le serveur entre-temps, renvoyée");
                return upload(entry, card, ours, true);
            }
            Result<Settled> settled = settle(entry, card, remote);
            if (!settled)
                return settled.error();
            if (*settled != Settled::Upload)
                return {};
            Result<CardNow> now = cardNow(entry.card);
            if (!now)
                return now.error();
            return upload(entry, now->card, now->vcard, true);
        }
        entry.etag = *etag;
        if (entry.etag.isEmpty()) {
            // No ETag given: the next change must still be made with If-Match.
            Result<std::vector<RemoteContact>> got = m_client.fetch(m_book, {entry.href});
            if (got && !got->empty())
                entry.etag = got->front().etag;
        }
        entry.sentDigest = vCardDigest(ours, m_captions);
        keepFetched(entry.uid, body);
        ++m_report.sent;
        return {};
    }

    Status local()
    {
        // Deleted here: deleted there, unless it changed there meanwhile.
        while (!m_state.deletedHere.empty()) {
            const CardDavEntry gone = m_state.deletedHere.back();
            if (Status s = m_client.remove(m_book, gone.href, gone.etag); !s) {
                if (m_client.lastStatus() != 412)
                    return s;
                // Brought back as a new card by the next full listing.
                m_state.syncToken.clear();
                m_report.notes << QStringLiteral("Contact changé sur le serveur, non supprimé : ") + gone.href;
            } else {
                ++m_report.deletedThere;
            }
            m_state.deletedHere.pop_back();
            dropFetched(gone.uid);
            if (Status s = save(); !s)
                return s;
        }
        // What to send, found in one pass over the records; the new cards'
        // UIDs are kept before anything is sent so that a retry uses the same.
        struct Upload {
            long long card;
            CardRecord record;
            QByteArray vcard;
        };
        std::vector<Upload> uploads;
        std::vector<long long> archived;
        bool newUids = false;
        std::optional<Error> failed;
        const Status read = m_db.store().forEachRaw(m_db.count(), [&](long long n, QByteArrayView bytes) {
            if (failed)
                return;
            CardRecord card = CardRecord::fromBytes(bytes);
            const auto entry = m_cards.find(n);
            if (!card.isActive()) {
                if (entry != m_cards.end())
                    archived.push_back(n);
                return;
            }
            if (m_inConflict.contains(n))
                return;
            Result<QByteArray> ours = ourVCard(n, card);
            if (!ours) {
                failed = ours.error();
                return;
            }
            if (entry == m_cards.end()) {
                const QString uid = newCardUid();
                m_cards[n] = CardDavEntry{n, uid, newHref(uid), QString(), QByteArray()};
                newUids = true;
            } else if (!entry->second.etag.isEmpty() && vCardDigest(*ours, m_captions) == entry->second.sentDigest) {
                return;
            }
            uploads.push_back({n, std::move(card), std::move(*ours)});
        });
        if (!read)
            return read;
        if (failed)
            return *failed;
        if (newUids)
            if (Status s = save(); !s)
                return s;
        for (long long n : archived) {
            CardDavEntry& entry = m_cards[n];
            if (Status s = m_client.remove(m_book, entry.href, entry.etag); !s)
                return s;
            ++m_report.deletedThere;
            dropFetched(entry.uid);
            m_cards.erase(n);
            if (Status s = save(); !s)
                return s;
        }
        int sinceSave = 0;
        for (const Upload& u : uploads) {
            if (Status s = upload(m_cards[u.card], u.record, u.vcard); !s)
                return s;
            if (++sinceSave >= kPutStep) {
                sinceSave = 0;
                if (Status s = save(); !s)
                    return s;
            }
        }
        return {};
    }
};

}  // namespace

QString SyncReport::statusLine(const QDateTime& when) const
{
    return QStringLiteral(" Dernière synchronisation : ") + when.toString(QStringLiteral("dd/MM/yyyy HH:mm"))
           + QStringLiteral(" — ") + countText(sent) + QStringLiteral(" envoyée(s), ") + countText(received)
           + QStringLiteral(" reçue(s), ") + countText(conflicts) + QStringLiteral(" en conflit");
}

SyncReport synchronize(Database& db, const SyncOptions& options)
{
    return Sync(db, options).run();
}

}  // namespace tb
