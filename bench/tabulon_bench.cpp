// Times the whole-database commands on a generated database (default 100,000
// cards spread over a 900 by 900 map). Prints "name: N ms" per measure.
#include "core/base/number_text.h"
#include "core/base/value_files.h"
#include "core/cards/card_record.h"
#include "core/cards/card_store.h"
#include "core/map/hit_test.h"
#include "core/lists/card_lists.h"
#include "core/map/pins.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImage>
#include <QRandomGenerator>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <functional>

namespace {

QString randomWord(QRandomGenerator& rng, int length)
{
    static const QString letters = QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZÉÈ");
    QString w;
    for (int i = 0; i < length; ++i)
        w += letters[rng.bounded(int(letters.size()))];
    return w;
}

void makeDatabase(const QString& folder, long long cards)
{
    QRandomGenerator rng(42);
    QFile f(folder + "lesfiches.dat");
    if (!f.open(QIODevice::WriteOnly))
        return;
    QByteArray block;
    for (long long n = 1; n <= cards; ++n) {
        std::array<QString, CardRecord::kFieldCount> t;
        const int marker = int(rng.bounded(8));  // about one card in eight archived
        t[0] = QString::number(marker) + tb::positionText(rng.bounded(900), rng.bounded(900));
        t[2] = randomWord(rng, 4 + rng.bounded(10));
        t[3] = randomWord(rng, 3 + rng.bounded(8));
        t[5] = QString::number(10000 + rng.bounded(85000));
        t[6] = randomWord(rng, 5 + rng.bounded(10));
        block += CardRecord::fromTexts(t).toBytes();
        if (block.size() >= 630 * 1000) {
            f.write(block);
            block.clear();
        }
    }
    f.write(block);
    f.close();
    CardStore(folder).writeCountText(tb::plainNumber(cards));
}

// Best of a few runs, so a cold cache or a busy machine does not decide.
double timeMs(const std::function<void()>& fn, int runs = 3)
{
    double best = 1e300;
    for (int i = 0; i < runs; ++i) {
        const auto start = std::chrono::steady_clock::now();
        fn();
        const std::chrono::duration<double, std::milli> d = std::chrono::steady_clock::now() - start;
        best = std::min(best, d.count());
    }
    return best;
}

void report(const char* name, double ms)
{
    std::printf("%s: %.0f ms\n", name, ms);
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const long long cards = argc > 1 ? QByteArray(argv[1]).toLongLong() : 100000;

    // TABULON_BENCH_FOLDER keeps the generated database there, to try it in the program.
    QTemporaryDir dir;
    const QString kept = qEnvironmentVariable("TABULON_BENCH_FOLDER");
    const QString folder = kept.isEmpty() ? dir.path() + u'/' : kept + u'/';
    if (!kept.isEmpty()) {
        QDir().mkpath(folder);
        tb::writeValueFile(folder + "carte.txt", QString());
    }
    report("generate", timeMs([&] { makeDatabase(folder, cards); }, 1));
    const CardStore store(folder);

    QImage map(900, 900, QImage::Format_RGB32);
    QString count;
    report("drawAllPins", timeMs([&] {
               map.fill(Qt::white);
               tb::drawAllPins(store, {&map}, &count);
           }));
    if (qEnvironmentVariableIsSet("TABULON_BENCH_IMAGE"))
        map.save(qEnvironmentVariable("TABULON_BENCH_IMAGE"));

    QImage indexed = QImage(900, 900, QImage::Format_Indexed8);
    indexed.setColorTable({qRgb(255, 255, 255)});
    indexed.fill(0);
    report("drawAllPins (palette map)", timeMs([&] {
               QImage copy = indexed;
               tb::drawAllPins(store, {&copy}, &count);
           }));

    std::size_t hits = 0;
    report("cardsAt", timeMs([&] { hits = tb::cardsAt(store, store.readCount(), 450, 450).size(); }));

    long long seen = 0;
    report("forEach", timeMs([&] {
               seen = 0;
               store.forEach(store.readCount(), [&](long long, const CardRecord& r) { seen += r.isActive(); });
           }));
    int lines = 0;
    report("buildCardList (alphabetical)", timeMs([&] {
               lines = tb::buildCardList(store, store.readCount(), tb::ListKind::Alphabetical).size();
           }));
    report("buildNameList", timeMs([&] { lines = tb::buildNameList(store, store.readCount()).size(); }));
    std::printf("cards: %lld, active: %lld, hits at (450,450): %zu, names: %d\n", cards, seen, hits, lines);
    return 0;
}
