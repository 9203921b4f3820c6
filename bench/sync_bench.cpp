// Times the CardDAV sync against a Radicale server started for the run:
// tabulon_sync_bench DB [RUNS]   (DB: a database made by "tabulon-cli demo")
//   plain  a plain HTTP client PUTting the database's vCards one after the
//          other (the floor the first sync is compared with)
//   first  the first sync of a copy of DB into an empty address book
//   idle   a sync with nothing changed (median of RUNS)
//   report the sync-collection request alone, the server's share of idle
//   one    a sync with one card changed here (median of RUNS)
// Prints "measure: ms (runs)" like tabulon_bench.
#include "core/db/carddav_state.h"
#include "core/db/database.h"
#include "core/exchange/contact.h"
#include "core/exchange/vcard.h"
#include "core/exchange/vcard_merge.h"
#include "radicale_server.h"
#include "sync/card_sync.h"

#include <QGuiApplication>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>

using namespace tb;
using Clock = std::chrono::steady_clock;

namespace {

double msSince(Clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

void print(const char* name, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    std::printf("%s: %.3f ms (%zu)\n", name, times[times.size() / 2], times.size());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "Usage : tabulon_sync_bench BASE [ESSAIS]\n");
        return 2;
    }
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 7;
    QTemporaryDir tmp;
    QString folder = QString::fromLocal8Bit(argv[1]);
    if (!folder.endsWith(u'/'))
        folder += u'/';
    Result<std::unique_ptr<Database>> source = Database::open(folder, Database::Access::ReadOnly);
    if (!source || !(*source)->backup(tmp.path() + "/Base/")) {
        std::fprintf(stderr, "Base illisible : %s\n", argv[1]);
        return 1;
    }
    source->reset();
    testing_support::RadicaleServer server;
    const QString user = QStringLiteral("bench"), password = QStringLiteral("bench");
    if (!server.start()) {
        std::fprintf(stderr, "Radicale : %s\n", qPrintable(server.error()));
        return 1;
    }
    server.addUser(user, password);
    const QUrl plainBook = server.createAddressBook(user, password, QStringLiteral("plain"));
    const QUrl syncBook = server.createAddressBook(user, password, QStringLiteral("sync"));
    Result<std::unique_ptr<Database>> opened = Database::open(tmp.path() + "/Base/");
    if (!opened)
        return 1;
    Database& db = **opened;

    // The vCards the first sync sends, made before the plain client's clock starts.
    const QStringList captions = exchangeCaptions(db.captions());
    std::vector<QByteArray> vcards;
    for (long long n = 1; n <= db.count(); ++n)
        if (const Result<CardRecord> card = db.card(n); card && card->isActive())
            vcards.push_back(mergedVCard(vCardOf(*card, captions, {}), {}, newCardUid()));
    testing_support::RawHttp plain(user, password);
    auto at = Clock::now();
    for (size_t k = 0; k < vcards.size(); ++k)
        if (plain.put(plainBook.resolved(QUrl(QString::number(k) + ".vcf")), vcards[k]).status / 100 != 2) {
            std::fprintf(stderr, "PUT refusé\n");
            return 1;
        }
    print("plain", {msSince(at)});

    const SyncOptions options{{syncBook, user, password, {}}, {}, {}, {}};
    at = Clock::now();
    SyncReport first = synchronize(db, options);
    print("first", {msSince(at)});
    if (first.error || first.sent != qsizetype(vcards.size())) {
        std::fprintf(stderr, "%s\n", first.error ? qPrintable(first.error->message()) : "pas tout envoyé");
        return 1;
    }
    std::vector<double> idle, one;
    for (int r = 0; r < runs; ++r) {
        at = Clock::now();
        SyncReport report = synchronize(db, options);
        idle.push_back(msSince(at));
        if (report.error || report.sent || report.received)
            return 1;
    }
    print("idle", idle);
    // The server's share of it: the one request of a sync with nothing changed.
    const Result<CardDavState> state = readCardDavState(db.folder());
    std::vector<double> report;
    for (int r = 0; r < runs && state; ++r) {
        CardDavClient client(options.server);
        at = Clock::now();
        if (!client.changesSince(syncBook, state->syncToken))
            return 1;
        report.push_back(msSince(at));
    }
    print("report", report);
    const long long middle = (db.count() + 1) / 2;
    for (int r = 0; r < runs; ++r) {
        CardRecord card = *db.card(middle);
        card.field(kFieldCity) = padField(QStringLiteral("Ville %1").arg(r), CardRecord::width(kFieldCity));
        if (!db.storeCard(middle, card))
            return 1;
        at = Clock::now();
        SyncReport report = synchronize(db, options);
        one.push_back(msSince(at));
        if (report.error || report.sent != 1)
            return 1;
    }
    print("one", one);
    return 0;
}
