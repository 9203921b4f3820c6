// Times the core's commands on an existing database (made with
// "tabulon-cli demo"): tabulon_bench MEASURE DB [N] [RUNS]
//   open   Database::open with its pin index
//   card   reading card N through Database::card (the move to another card)
//   store  storing card N with one field changed (pin update included)
//   list   the alphabetical list
//   search the surname search for "DUPON" (as the "Recherches" menu runs it)
//   delete deleting card N (the last card moves in): changes DB, give it a copy
//   zone   the cards of a zone (the middle half of the pins' extent, both ways):
//          the pin index's test alone, then with the list's lines
//   all    each of the above but delete
// Prints "measure: median ms (runs)" per measure; only the command is timed.
#include "core/cards/card_record.h"
#include "core/db/database.h"
#include "core/lists/searches.h"

#include <QCoreApplication>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
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

}  // namespace

int main(int argc, char* argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = QCoreApplication::arguments().mid(1);
    static const QStringList measures = {"open", "card", "store", "list", "search", "delete", "zone", "all"};
    if (args.size() < 2 || !measures.contains(args[0])) {
        std::fputs("Usage : tabulon_bench open|card|store|list|search|delete|zone|all BASE [N] [MESURES]\n", stderr);
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
    if (measure == "zone" || measure == "all")
        ok = ok && measureZone(*db.value(), runs);
    if (measure == "delete")
        ok = measureDelete(*db.value(), n, runs);
    return ok ? 0 : 1;
}
