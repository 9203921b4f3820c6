#include "core/db/carddav_state.h"
#include "core/db/database.h"
#include "core/exchange/exchange_samples.h"
#include "fixtures.h"
#include "radicale_server.h"
#include "sync/card_sync.h"

#include <QElapsedTimer>
#include <QRegularExpression>
#include <QTcpServer>
#include <QTimer>
#include <gtest/gtest.h>

using namespace tb;
using namespace testing_support;

namespace {

class CardDavSync : public ::testing::Test {
protected:
    TempProgramFolder program;
    const QString user = QStringLiteral("marie"), password = QStringLiteral("secret");
    RadicaleServer* server = nullptr;
    QUrl book;
    std::unique_ptr<RawHttp> http;

    void use(RadicaleServer& started)
    {
        server = &started;
        book = server->createAddressBook(user, password, QStringLiteral("clients"));
        ASSERT_FALSE(book.isEmpty());
        http = std::make_unique<RawHttp>(user, password);
    }

    std::unique_ptr<Database> database(const QString& name, const std::vector<CardRecord>& cards)
    {
        TempDatabase folder(program.path(), name);
        writeCards(folder.path(), cards);
        Result<std::unique_ptr<Database>> db = Database::open(folder.path());
        EXPECT_TRUE(db.ok());
        return std::move(*db);
    }
    // syncCollection false: as with a server that lists ETags only.
    SyncOptions options(ConflictResolver resolve = {}, bool syncCollection = true) const
    {
        return {{book, user, password, {}, 30000, syncCollection}, {}, program.path(), std::move(resolve)};
    }
    RawHttp::Reply phone(const QByteArray& verb, const QString& href, const QByteArray& body = {},
                         const QList<QPair<QByteArray, QByteArray>>& headers = {})
    {
        return http->request(verb, server->url().resolved(QUrl(href)), body, headers);
    }
    // The hrefs of the vCards there.
    QStringList vCardHrefs()
    {
        const RawHttp::Reply listing = phone("PROPFIND", book.path(),
                                             "<?xml version=\"1.0\"?><d:propfind xmlns:d=\"DAV:\"><d:prop>"
                                             "<d:getetag/></d:prop></d:propfind>",
                                             {{"Depth", "1"}});
        QStringList hrefs;
        static const QRegularExpression href(QStringLiteral("<[^>]*href>([^<]*\\.vcf)</"));
        for (auto m = href.globalMatch(QString::fromUtf8(listing.body)); m.hasNext();)
            hrefs << m.next().captured(1);
        return hrefs;
    }
    // The vCard there whose text holds what.
    std::pair<QString, RawHttp::Reply> contactHolding(const QString& what)
    {
        for (const QString& href : vCardHrefs())
            if (RawHttp::Reply got = phone("GET", href); got.body.contains(what.toUtf8()))
                return {href, got};
        return {};
    }
    static QString surname(Database& db, long long n) { return db.card(n)->field(kFieldSurname).trimmed(); }
};

ConflictResolver answer(ConflictChoice choice, CardRecord merged = {})
{
    return [=](const SyncConflict&) { return ConflictDecision{choice, merged, false}; };
}

}  // namespace

TEST_F(CardDavSync, CardsAndContactsGoBothWaysWithDeletionsAndRenumbering)
{
    TB_START_RADICALE(started);
    use(started);
    auto db = database(QStringLiteral("Base"), {makeCard("DUPONT", "Jean", 1, 100, 200, "75001", "Paris"),
                                                makeCard("MARTIN", "Anne", 1, 110, 210, "29200", "Brest"),
                                                makeCard("LEROY", "Paul", 1, 120, 220, "69001", "Lyon"),
                                                makeCard("ARCHIVE", "Zoé", 0, 130, 230)});
    SyncReport first = synchronize(*db, options());
    ASSERT_FALSE(first.error) << first.error->message().toStdString();
    EXPECT_EQ(first.sent, 3);  // the archived card stays here only
    EXPECT_EQ(vCardHrefs().size(), 3);
    EXPECT_TRUE(QFileInfo::exists(program.path() + "Sauvegardes/Base/lesfiches.dat"));
    EXPECT_TRUE(first.statusLine(QDateTime(QDate(2026, 12, 8), QTime(14, 5)))
                    .startsWith(" Dernière synchronisation : 08/12/2026 14:05 — 3 envoyée(s), 0 reçue(s), 0 en conflit"));

    // A phone changes a name, adds its own URL, and adds a contact.
    auto [martinHref, martin] = contactHolding("MARTIN");
    QByteArray changed = martin.body;
    changed.replace("MARTIN", "MARTINEZ").replace("END:VCARD", "URL:https://exemple.fr/anne\r\nEND:VCARD");
    ASSERT_EQ(phone("PUT", martinHref, changed, {{"If-Match", martin.etag}}).status / 100, 2);
    ASSERT_EQ(phone("PUT", book.path() + "phone-1.vcf",
                    "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:phone-1\r\nN:NOUVEAU;Luc;;;\r\nFN:Luc NOUVEAU\r\n"
                    "TEL;TYPE=CELL:0612345678\r\nPHOTO;ENCODING=b;TYPE=JPEG:" + exchange_samples::picture("JPG").toBase64()
                        + "\r\nEND:VCARD\r\n",
                    {{"If-None-Match", "*"}})
                  .status,
              201);
    SyncReport back = synchronize(*db, options({}, false));
    ASSERT_FALSE(back.error) << back.error->message().toStdString();
    EXPECT_EQ(back.received, 2);
    EXPECT_EQ(back.created, 1);
    EXPECT_EQ(back.sent, 0);
    EXPECT_EQ(surname(*db, 2), "MARTINEZ");
    EXPECT_EQ(db->card(2)->x(), 110);  // the pin stays
    ASSERT_EQ(db->count(), 5);
    EXPECT_EQ(surname(*db, 5), "NOUVEAU");
    EXPECT_EQ(db->card(5)->field(kFieldMobile).trimmed(), "0612345678");
    EXPECT_EQ(readBytes(db->findSideFile(SideFile::Photo, 5)), exchange_samples::picture("JPG"));

    // Edited here: sent, the phone's URL kept.
    CardRecord anne = *db->card(2);
    anne.field(kFieldCity) = padField("Quimper", CardRecord::width(kFieldCity));
    ASSERT_TRUE(db->storeCard(2, anne).ok());
    SyncReport sent = synchronize(*db, options());
    EXPECT_EQ(sent.sent, 1);
    EXPECT_EQ(sent.received, 0);
    const RawHttp::Reply there = phone("GET", martinHref);
    EXPECT_TRUE(there.body.contains("Quimper"));
    EXPECT_TRUE(there.body.contains("URL:https://exemple.fr/anne"));

    // Deleted here (card 5 moves into number 1), deleted on the phone, and the
    // phone drops the new contact's photo and mobile: all follow.
    ASSERT_TRUE(db->deleteCard(1).ok());
    ASSERT_EQ(phone("DELETE", contactHolding("LEROY").first).status, 200);
    ASSERT_EQ(phone("PUT", book.path() + "phone-1.vcf",
                    "BEGIN:VCARD\r\nVERSION:3.0\r\nUID:phone-1\r\nN:NOUVEAU;Luc;;;\r\nFN:Luc NOUVEAU\r\nEND:VCARD\r\n").status / 100, 2);
    SyncReport deletions = synchronize(*db, options({}, false));
    ASSERT_FALSE(deletions.error) << deletions.error->message().toStdString();
    EXPECT_EQ(surname(*db, 1), "NOUVEAU");
    EXPECT_FALSE(QFileInfo::exists(db->findSideFile(SideFile::Photo, 1)));
    EXPECT_TRUE(db->card(1)->field(kFieldMobile).trimmed().isEmpty());
    EXPECT_EQ(deletions.deletedThere, 1);
    EXPECT_EQ(deletions.trashed, 1);
    EXPECT_EQ(deletions.sent, 0);
    EXPECT_TRUE(contactHolding("DUPONT").first.isEmpty());
    EXPECT_EQ(db->trash().entries()->size(), 2u);
    EXPECT_EQ(db->count(), 3);
    EXPECT_EQ(vCardHrefs().size(), 2);  // MARTINEZ and NOUVEAU, nothing sent twice

    // Nothing changed: nothing moves.
    SyncReport idle = synchronize(*db, options());
    EXPECT_FALSE(idle.error);
    EXPECT_EQ(idle.sent + idle.received + idle.trashed + idle.deletedThere, 0);
}

TEST_F(CardDavSync, ChangedOnBothSidesIsAskedAndUndecidedStays)
{
    TB_START_RADICALE(started);
    use(started);
    auto db = database(QStringLiteral("Base"), {makeCard("DUPONT", "Jean", 1, 100, 200)});
    ASSERT_FALSE(synchronize(*db, options()).error);
    const auto bothChange = [&](const QByteArray& here, const QByteArray& there) {
        CardRecord card = *db->card(1);
        card.field(kFieldCity) = padField(QString::fromUtf8(here), CardRecord::width(kFieldCity));
        ASSERT_TRUE(db->storeCard(1, card).ok());
        auto [href, got] = contactHolding("DUPONT");
        QByteArray body = got.body;
        body.replace("N:DUPONT", "N:DUPONT-" + there);
        ASSERT_EQ(phone("PUT", href, body, {{"If-Match", got.etag}}).status / 100, 2);
    };
    bothChange("Ici", "LA");
    SyncReport undecided = synchronize(*db, options(answer(ConflictChoice::Undecided)));
    EXPECT_EQ(undecided.conflicts, 1);
    EXPECT_EQ(undecided.sent, 0);
    EXPECT_EQ(db->card(1)->field(kFieldCity).trimmed(), "Ici");
    EXPECT_FALSE(contactHolding("DUPONT-LA").first.isEmpty());

    // Asked again next time (the 412 of the upload brings it back).
    SyncReport there = synchronize(*db, options(answer(ConflictChoice::KeepThere)));
    EXPECT_EQ(there.conflicts, 0);
    EXPECT_EQ(surname(*db, 1), "DUPONT-LA");

    bothChange("Ici2", "B");
    SyncReport here = synchronize(*db, options(answer(ConflictChoice::KeepHere)));
    EXPECT_EQ(here.sent, 1);
    EXPECT_TRUE(contactHolding("DUPONT-B").first.isEmpty());
    EXPECT_TRUE(phone("GET", contactHolding("Ici2").first).body.contains("DUPONT-LA"));

    bothChange("Ici3", "C");
    CardRecord merged = makeCard("FUSION", "Jean", 1, 100, 200);
    SyncReport merge = synchronize(*db, options(answer(ConflictChoice::Merge, merged)));
    EXPECT_EQ(surname(*db, 1), "FUSION");
    EXPECT_EQ(merge.sent, 1);
    EXPECT_FALSE(contactHolding("FUSION").first.isEmpty());
}

TEST_F(CardDavSync, TwoDatabasesOnOneAddressBookConverge)
{
    TB_START_RADICALE(started);
    use(started);
    auto a = database(QStringLiteral("BaseA"), {makeCard("DUPONT", "Jean", 3, 100, 200),
                                                makeCard("MARTIN", "Anne", 5, 110, 210)});
    auto b = database(QStringLiteral("BaseB"), {makeCard("LEROY", "Paul", 2, 120, 220)});
    ASSERT_FALSE(synchronize(*a, options()).error);
    ASSERT_FALSE(synchronize(*b, options()).error);
    ASSERT_FALSE(synchronize(*a, options()).error);
    ASSERT_EQ(a->count(), 3);
    ASSERT_EQ(b->count(), 3);
    const auto cards = [](Database& db) {
        std::map<QString, QString> out;
        for (long long n = 1; n <= db.count(); ++n)
            out[db.card(n)->field(kFieldSurname).trimmed()] = db.card(n)->field(kFieldPosition);
        return out;
    };
    EXPECT_EQ(cards(*a), cards(*b));  // names, markers and pins
    EXPECT_EQ(cards(*a)["MARTIN"], makeCard("MARTIN", "Anne", 5, 110, 210).field(kFieldPosition));
}

TEST_F(CardDavSync, ServerStoppedInTheMiddleThenTheNextSyncFinishes)
{
    TB_START_RADICALE(started);
    use(started);
    std::vector<CardRecord> cards;
    for (int k = 0; k < 150; ++k)
        cards.push_back(makeCard(QStringLiteral("NOM%1").arg(k), "Prénom", 1, 100 + k, 200));
    auto db = database(QStringLiteral("Base"), cards);
    QTimer::singleShot(200, [&] { server->stop(); });
    SyncReport cut = synchronize(*db, options());
    ASSERT_TRUE(cut.error);
    EXPECT_TRUE(cut.error->message().startsWith("Erreur de synchronisation : le serveur 127.0.0.1:"))
        << cut.error->message().toStdString();
    EXPECT_LT(cut.sent, 150);
    ASSERT_TRUE(server->start());
    SyncReport rest = synchronize(*db, options());
    ASSERT_FALSE(rest.error) << rest.error->message().toStdString();
    EXPECT_EQ(vCardHrefs().size(), 150);
    EXPECT_EQ(db->count(), 150);
    SyncReport idle = synchronize(*db, options());
    EXPECT_EQ(idle.sent, 0) << idle.notes.join('\n').toStdString();
}

TEST_F(CardDavSync, WrongPasswordAndUntrustedCertificateAreRefused)
{
    TB_START_RADICALE(started);
    use(started);
    auto db = database(QStringLiteral("Base"), {makeCard("DUPONT", "Jean", 1, 100, 200)});
    SyncOptions wrong = options();
    wrong.server.password = QStringLiteral("faux");
    SyncReport refused = synchronize(*db, wrong);
    ASSERT_TRUE(refused.error);
    EXPECT_EQ(refused.error->message(),
              "Erreur de synchronisation : le serveur refuse ce nom d'utilisateur ou ce mot de passe (401).");

    TB_START_RADICALE(secure, true);
    const QUrl secureBook = secure.createAddressBook(user, password, QStringLiteral("clients"));
    CardDavServer tls{secureBook, user, password, {}};
    CardDavClient client(tls);
    Result<std::vector<AddressBookInfo>> untrusted = client.discover();
    ASSERT_FALSE(untrusted.ok());
    const QString fingerprint = secure.certificateSha256();
    EXPECT_EQ(client.untrustedCertificate(), fingerprint);
    EXPECT_TRUE(untrusted.error().message().contains("n'est pas reconnu (empreinte SHA-256 : " + fingerprint));
    // Accepted, found from the server's address alone, through the well-known address.
    tls.acceptedCertificate = fingerprint;
    tls.url = secure.url();
    Result<std::vector<AddressBookInfo>> found = CardDavClient(tls).discover();
    ASSERT_TRUE(found.ok()) << found.error().message().toStdString();
    EXPECT_EQ(found->front().url, secureBook);
}

TEST_F(CardDavSync, AServerThatNeverAnswersEndsInTheTimeoutWithNothingLost)
{
    QTcpServer silent;  // takes the connection, never answers
    ASSERT_TRUE(silent.listen(QHostAddress::LocalHost, 0));
    auto db = database(QStringLiteral("Base"), {makeCard("DUPONT", "Jean", 1, 100, 200)});
    const QByteArray records = readBytes(db->folder() + "lesfiches.dat");
    const QString address = QStringLiteral("127.0.0.1:%1").arg(silent.serverPort());
    const SyncOptions silentServer{{QUrl("http://" + address + "/b/"), user, password, {}, 250}, {}, {}, {}};
    QElapsedTimer clock;
    clock.start();
    const SyncReport r = synchronize(*db, silentServer);
    EXPECT_LT(clock.elapsed(), 10000);
    ASSERT_TRUE(r.error);
    const QString reason = "Erreur de synchronisation : le serveur " + address + " n'a pas répondu en 250 millisecondes.";
    EXPECT_EQ(r.error->message(), reason);
    EXPECT_EQ(readBytes(db->folder() + "lesfiches.dat"), records);
    EXPECT_EQ(readCardDavState(db->folder())->lastStatus, reason);
}
