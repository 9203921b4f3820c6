// Times the core's commands on an existing database (made with
// "tabulon-cli demo"): tabulon_bench MEASURE DB [N] [RUNS]
//   open   Database::open with its pin index
//   card   reading card N through Database::card (the move to another card)
//   store  storing card N with one field changed (pin update included)
//   list   the alphabetical list
//   search the surname search for "DUPON" (as the "Recherches" menu runs it)
//   index  reading the search box's index (one pass, as when a database opens),
//          with its memory beside the record file, then its alphabetical places
//   find   the search box answering each key of "chatel plage" typed one by one
//   delete deleting card N (the last card moves in): changes DB, give it a copy
//   zone   the cards of a zone (the middle half of the pins' extent, both ways):
//          the pin index's test alone, then with the list's lines
//   print  "Imprimer toutes les fiches" into a PDF file (Qt's offscreen screen)
//   all    each of the above but delete and print
// Prints "measure: median ms (runs)" per measure; only the command is timed.
#include "core/cards/card_print.h"
#include "core/cards/card_record.h"
#include "core/db/database.h"
#include "core/lists/search_index.h"
#include "core/lists/searches.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QThread>
#include <QGuiApplication>
#include <QPdfWriter>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <memory>
#include <string_view>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double ms(Clock::time_point from, Clock::time_point to)
{
    return std::chrono::duration<double, std::milli>(to - from).count();
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    const size_t m = v.size() / 2;
    return v.size() % 2 ? v[m] : (v[m - 1] + v[m]) / 2;
}

void report(const char* name, const std::vector<double>& times)
{
    std::printf("%s: %.3f ms (%zu)\n", name, median(times), times.size());
    std::fflush(stdout);
}

bool fail(const tb::Error& e)
{
    std::fprintf(stderr, "%s\n", e.message().toUtf8().constData());
    return false;
}

bool measureOpen(const QString& folder, int runs)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        const auto a = Clock::now();
        auto db = tb::Database::open(folder);
        const auto b = Clock::now();
        if (!db)
            return fail(db.error());
        t.push_back(ms(a, b));
    }
    report("open", t);
    return true;
}

bool measureCard(tb::Database& db, long long n, int runs)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        // The next card each time, as the arrows of the card window go.
        const long long k = (n - 1 + i) % db.count() + 1;
        const auto a = Clock::now();
        const auto card = db.card(k);
        const auto b = Clock::now();
        if (!card)
            return fail(card.error());
        t.push_back(ms(a, b));
    }
    report("card", t);
    return true;
}

bool measureStore(tb::Database& db, long long n, int runs)
{
    const auto original = db.card(n);
    if (!original)
        return fail(original.error());
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        CardRecord changed = *original;
        changed.fields[13] = tb::padField(QStringLiteral("Mesure ") + QString::number(i), 40);
        const auto a = Clock::now();
        const tb::Status s = db.storeCard(n, changed);
        const auto b = Clock::now();
        if (!s)
            return fail(s.error());
        t.push_back(ms(a, b));
    }
    report("store", t);
    if (const tb::Status s = db.storeCard(n, *original); !s)
        return fail(s.error());
    return true;
}

bool measureList(tb::Database& db, int runs)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        const auto a = Clock::now();
        const auto list = db.list(tb::ListKind::Alphabetical);
        const auto b = Clock::now();
        if (!list)
            return fail(list.error());
        t.push_back(ms(a, b));
    }
    report("list", t);
    return true;
}

bool measureSearch(tb::Database& db, int runs)
{
    std::vector<double> t;
    for (int i = 0; i < runs; ++i) {
        const auto a = Clock::now();
        const auto found = tb::searchCards(db.store(), db.count(), tb::SearchField::Surname, QStringLiteral("DUPON"));
        const auto b = Clock::now();
        if (!found)
            return fail(found.error());
        t.push_back(ms(a, b));
    }
    report("search", t);
    return true;
}

bool measureIndex(tb::Database& db, int runs)
{
    std::vector<double> t;
    size_t bytes = 0;
    for (int i = 0; i < runs; ++i) {
        tb::SearchIndex index;
        const auto a = Clock::now();
        const tb::Status s = index.load(db.store(), db.count());
        const auto b = Clock::now();
        if (!s)
            return fail(s.error());
        t.push_back(ms(a, b));
        bytes = index.memoryBytes();
    }
    report("index", t);
    // The alphabetical places, the second pass that follows in the background.
    std::vector<double> order;
    for (int i = 0; i < runs; ++i) {
        const auto a = Clock::now();
        const auto ranks = tb::SearchIndex::readOrder(db.store(), db.count());
        const auto b = Clock::now();
        if (!ranks)
            return fail(ranks.error());
        order.push_back(ms(a, b));
    }
    report("order", order);
    // The letter pairs, the third pass, which the index holds from then on.
    std::vector<double> pairs;
    std::vector<quint64> rows;
    for (int i = 0; i < runs; ++i) {
        const auto a = Clock::now();
        auto read = tb::SearchIndex::readPairs(db.store(), db.count());
        const auto b = Clock::now();
        if (!read)
            return fail(read.error());
        pairs.push_back(ms(a, b));
        rows = std::move(read).value();
    }
    report("pairs", pairs);
    tb::SearchIndex index;
    if (index.load(db.store(), db.count())) {
        index.setPairs(std::move(rows), db.count(), {});
        bytes = index.memoryBytes();
    }
    const double file = double(QFileInfo(db.store().recordFile()).size());
    std::printf("index memory: %.1f MB, record file %.1f MB, ratio %.2f\n", bytes / 1e6, file / 1e6,
                file > 0 ? bytes / file : 0.0);
    return true;
}

bool measureFind(tb::Database& db, int runs)
{
    // Timed once both passes are done, as a few moments after the base opens.
    if (const auto warm = db.search(QStringLiteral("e"), 500); !warm)
        return fail(warm.error());
    while (!db.searchIndex().paired())
        QThread::msleep(5);
    const QString typed = QStringLiteral("chatel plage");
    std::vector<double> worst;
    std::vector<std::vector<double>> keys(size_t(typed.size()));
    for (int i = 0; i < runs; ++i) {
        double slowest = 0;
        for (int k = 1; k <= typed.size(); ++k) {
            const auto a = Clock::now();
            const auto found = db.search(typed.left(k), 500);
            const auto b = Clock::now();
            if (!found)
                return fail(found.error());
            slowest = std::max(slowest, ms(a, b));
            keys[size_t(k - 1)].push_back(ms(a, b));
        }
        worst.push_back(slowest);
    }
    report("find (slowest key)", worst);
    // The median of each key, the slowest of them.
    double slowestMedian = 0;
    for (int k = 1; k <= typed.size(); ++k) {
        std::printf("find key \"%s\": %.3f ms\n", qPrintable(typed.left(k)), median(keys[size_t(k - 1)]));
        slowestMedian = std::max(slowestMedian, median(keys[size_t(k - 1)]));
    }
    std::printf("find (slowest key median): %.3f ms\n", slowestMedian);
    // The index's look-up alone, for the first key and the whole text.
    for (const QString& text : {typed.left(1), typed}) {
        std::vector<double> t;
        size_t hits = 0;
        for (int i = 0; i < runs; ++i) {
            const QByteArrayList words = tb::searchWords(text);
            const auto a = Clock::now();
            hits = db.searchIndex().match(words).size();
            t.push_back(ms(a, Clock::now()));
        }
        std::printf("find \"%s\" in the index alone: %.3f ms, %zu fiche(s)\n", qPrintable(text), median(t), hits);
    }
    for (const QString& text : {QStringLiteral("e"), QStringLiteral("0546"), QStringLiteral("chatel plage")}) {
        std::vector<double> t;
        long long total = 0;
        for (int i = 0; i < runs; ++i) {
            const auto a = Clock::now();
            const auto found = db.search(text, 500);
            const auto b = Clock::now();
            t.push_back(ms(a, b));
            total = found ? found->total : -1;
        }
        std::printf("find \"%s\": %.3f ms, %lld fiche(s)\n", qPrintable(text), median(t), total);
    }
    return true;
}

bool measureDelete(tb::Database& db, long long n, int runs)
{
    std::vector<double> t;
    for (int i = 0; i < runs && db.count() > 1; ++i) {
        const long long k = std::min(n, db.count() - 1);
        const auto a = Clock::now();
        const tb::Status s = db.deleteCard(k);
        const auto b = Clock::now();
        if (!s)
            return fail(s.error());
        t.push_back(ms(a, b));
    }
    report("delete", t);
    return true;
}

bool measureZone(tb::Database& db, int runs)
{
    const tb::PinIndex& pins = db.pins();
    float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
    for (long long n = 1; n <= pins.size(); ++n) {
        const tb::Pin& p = pins.at(n);
        if (!p.active())
            continue;
        left = std::min(left, p.x), right = std::max(right, p.x);
        top = std::min(top, p.y), bottom = std::max(bottom, p.y);
    }
    const float w = right - left, h = bottom - top;
    // Corners given lower right first, as a user may.
    const tb::OpenRect zone = tb::rectBetween(right - w / 4, bottom - h / 4, left + w / 4, top + h / 4);
    std::vector<double> test, listed;
    size_t inside = 0;
    for (int i = 0; i < runs; ++i) {
        const auto a = Clock::now();
        inside = pins.cardsIn(zone).size();
        const auto b = Clock::now();
        const auto list = db.cardsIn(zone);
        const auto c = Clock::now();
        if (!list)
            return fail(list.error());
        test.push_back(ms(a, b));
        listed.push_back(ms(b, c));
    }
    std::printf("zone: %zu fiche(s) dans la zone\n", inside);
    report("zone-test", test);
    report("zone-list", listed);
    return true;
}

bool measurePrint(tb::Database& db, int runs)
{
    QTemporaryDir dir;
    const tb::ListPrintStyle style{tb::defaultListPrintFont()};
    std::vector<double> t;
    int pages = 0;
    for (int i = 0; i < runs; ++i) {
        const auto a = Clock::now();
        QPdfWriter pdf(dir.filePath(QStringLiteral("fiches.pdf")));
        const auto printed = tb::printCardPages(pdf, tb::allCardsPrint(db), QDate::currentDate(), style);
        const auto b = Clock::now();
        if (!printed)
            return fail(printed.error());
        pages = *printed;
        t.push_back(ms(a, b));
    }
    report("print", t);
    std::printf("print: %d page(s), %lld fiche(s)\n", pages, db.count());
    return true;
}

}  // namespace

int main(int argc, char* argv[])
{
    // Printing needs the fonts of a screen: the offscreen one, only then.
    const bool printing = argc > 1 && std::string_view(argv[1]) == "print";
    if (printing)
        qputenv("QT_QPA_PLATFORM", "offscreen");
    std::unique_ptr<QCoreApplication> app(printing ? new QGuiApplication(argc, argv) : new QCoreApplication(argc, argv));
    const QStringList args = QCoreApplication::arguments().mid(1);
    static const QStringList measures = {"open", "card",   "store", "list",  "search", "index",
                                         "find", "delete", "zone",  "print", "all"};
    if (args.size() < 2 || !measures.contains(args[0])) {
        std::fputs("Usage : tabulon_bench open|card|store|list|search|index|find|delete|zone|print|all BASE [N] "
                   "[MESURES]\n",
                   stderr);
        return 2;
    }
    const QString measure = args[0];
    QString folder = args[1];
    if (!folder.endsWith(u'/'))
        folder += u'/';
    const long long n = args.size() > 2 ? args[2].toLongLong() : 1;
    const int runs = args.size() > 3 ? std::max(1, args[3].toInt()) : 7;

    if ((measure == "open" || measure == "all") && !measureOpen(folder, runs))
        return 1;
    if (measure == "open")
        return 0;
    auto db = tb::Database::open(folder);
    if (!db) {
        fail(db.error());
        return 1;
    }
    if (n < 1 || n > db.value()->count()) {
        std::fprintf(stderr, "La fiche n° %lld n'existe pas.\n", n);
        return 1;
    }
    bool ok = true;
    if (measure == "card" || measure == "all")
        ok = ok && measureCard(*db.value(), n, runs);
    if (measure == "store" || measure == "all")
        ok = ok && measureStore(*db.value(), n, runs);
    if (measure == "list" || measure == "all")
        ok = ok && measureList(*db.value(), runs);
    if (measure == "search" || measure == "all")
        ok = ok && measureSearch(*db.value(), runs);
    if (measure == "index" || measure == "all")
        ok = ok && measureIndex(*db.value(), runs);
    if (measure == "find" || measure == "all")
        ok = ok && measureFind(*db.value(), runs);
    if (measure == "zone" || measure == "all")
        ok = ok && measureZone(*db.value(), runs);
    if (measure == "delete")
        ok = measureDelete(*db.value(), n, runs);
    if (measure == "print")
        ok = measurePrint(*db.value(), runs);
    return ok ? 0 : 1;
}
