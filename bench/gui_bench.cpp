// Times what a user waits for on a large database, through the real windows
// (the scripted dialogs return at once, so only Tabulon's own work is timed),
// and the memory used with the list and a card window open.
// Usage: tabulon_gui_bench DATABASE_FOLDER [RUNS]   (a tabulon-cli demo database)
// With TABULON_BENCH_LISTS=1 in the environment, only the lists, the card
// and the memory are measured (not the search box nor the map's zoom).
#include "core/db/database.h"
#include "core/db/session.h"
#include "core/lists/card_lists.h"
#include "fake_dialogs.h"
#include "fake_launcher.h"
#include "gui/app/main_window.h"
#include "gui/map/map_picture.h"

#include <QAbstractItemView>
#include <QAction>
#include <QApplication>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QFileInfo>
#include <QKeyEvent>
#include <QLineEdit>
#include <QScrollBar>
#include <QMouseEvent>
#include <QPushButton>
#include <QTemporaryDir>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

using Clock = std::chrono::steady_clock;

double ms(Clock::time_point from)
{
    return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
}

// What the user waits for: the command, then the window painted.
// The command, its events, then every visible window painted again (or only
// the window given: a command confined to one window repaints no other).
double timeOnce(const std::function<void()>& command, QWidget* only = nullptr)
{
    const auto start = Clock::now();
    command();
    QCoreApplication::processEvents();
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->isVisible() && (!only || w == only))
            w->repaint();
    return ms(start);
}

void report(const char* name, std::vector<double> times)
{
    std::sort(times.begin(), times.end());
    std::printf("%s: %.3f ms (%zu)\n", name, times[times.size() / 2], times.size());
    std::fflush(stdout);
}

long long residentKb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLongLong();
    return 0;
}

void key(QWidget* w, int k, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
{
    QKeyEvent press(QEvent::KeyPress, k, modifiers);
    QApplication::sendEvent(w, &press);
}

QWidget* visibleWindow(const char* name)
{
    for (QWidget* w : QApplication::topLevelWidgets())
        if (w->objectName() == QLatin1String(name) && w->isVisible())
            return w;
    return nullptr;
}

// When the card window is first painted.
struct PaintWatch : QObject {
    Clock::time_point firstCardPaint = Clock::now();
    bool seen = false;
    bool eventFilter(QObject* o, QEvent* e) override
    {
        auto* w = qobject_cast<QWidget*>(o);
        if (!seen && e->type() == QEvent::Paint && w && w->window()->objectName() == QLatin1String("FFrance4")) {
            seen = true;
            firstCardPaint = Clock::now();
        }
        return false;
    }
};

}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage : tabulon_gui_bench BASE [MESURES]\n");
        return 2;
    }
    const QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + u'/';
    const int runs = argc > 2 ? std::max(1, atoi(argv[2])) : 5;
    const QString program = QFileInfo(folder + "..").absoluteFilePath() + u'/';
    FakeDialogs dialogs;
    FakeLauncher launcher;
    FFrance main(dialogs, launcher, program);
    main.show();
    const long long before = residentKb();

    std::vector<double> open, reminders, list, selectFilling, selectAll, fullList, card, nameList, move, store, click, zoneOpen, zoneList;
    // Which cards the alphabetical list holds, to know when it is full.
    std::vector<bool> counted;
    if (auto db = tb::Database::open(folder, tb::Database::Access::ReadOnly))
        (*db)->store().forEachRaw((*db)->count(), [&](long long, QByteArrayView r) {
            counted.push_back(tb::activeRecord(r));
        }).ok();
    for (int r = 0; r < runs; ++r) {
        // Opening from no database: what the last round left is freed first.
        main.session().setDatabase(nullptr);
        QCoreApplication::processEvents();
        const auto openedAt = Clock::now();
        open.push_back(timeOnce([&] {
            auto db = tb::Database::open(folder);
            if (db)
                main.session().setDatabase(std::move(db).value());
        }));
        // The reminders, gathered behind the opening, until their window shows
        // (a demo base always has birthdays in the coming week); then put away.
        while (!visibleWindow("FRappels") && ms(openedAt) < 10000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        if (QWidget* shown = visibleWindow("FRappels")) {
            reminders.push_back(ms(openedAt));
            shown->hide();
        }
        if (!main.session().hasDatabase()) {
            std::fprintf(stderr, "%s n'est pas une base de données\n", qPrintable(folder));
            return 1;
        }
        // The alphabetical list from the menu, shown.
        const auto listing = Clock::now();
        list.push_back(timeOnce([&] { main.findChild<QAction*>(QStringLiteral("alpha"))->trigger(); }));
        QWidget* listWindow = visibleWindow("FFrance3");
        auto* view = listWindow->findChild<QAbstractItemView*>(QStringLiteral("List1"));
        // Ctrl+A while the list still fills: what is there at once, the rest as it comes.
        view->setFocus();
        selectFilling.push_back(timeOnce([&] { key(view, Qt::Key_A, Qt::ControlModifier); }, listWindow));
        // The rest of the list sorted behind the first screen, every line in.
        const int active = int(std::count_if(counted.begin(), counted.end(), [](bool a) { return a; }));
        while (view->model()->rowCount() < active && ms(listing) < 60000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        fullList.push_back(ms(listing));
        if (view->selectionModel()->selectedRows().size() != view->model()->rowCount())
            std::fprintf(stderr, "Ctrl+A pendant le remplissage : lignes venues ensuite non sélectionnées\n");
        view->clearSelection();
        selectAll.push_back(timeOnce([&] { key(view, Qt::Key_A, Qt::ControlModifier); }, listWindow));
        view->clearSelection();
        view->setCurrentIndex(view->model()->index(1000 + r, 0));
        // A card opened from a list line (Return): until the card is painted,
        // then until the names of every card are listed beside it.
        PaintWatch watch;
        app.installEventFilter(&watch);
        const auto opening = Clock::now();
        key(view, Qt::Key_Return);
        QWidget* cardWindow = visibleWindow("FFrance4");
        auto* names = cardWindow->findChild<QAbstractItemView*>(QStringLiteral("List1"));
        while (names->model()->rowCount() == 0 && ms(opening) < 60000)
            QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
        nameList.push_back(ms(opening));
        app.removeEventFilter(&watch);
        card.push_back(std::chrono::duration<double, std::milli>(watch.firstCardPaint - opening).count());
        // Moving to the next card in the name list.
        move.push_back(timeOnce([&] { key(names, Qt::Key_Down); }, cardWindow));
        // "Valider la modification".
        store.push_back(
            timeOnce([&] { cardWindow->findChild<QPushButton*>(QStringLiteral("Command2"))->click(); }, cardWindow));
        if (r == 0) {
            const long long used = residentKb() - before;
            const long long file = QFileInfo(folder + "lesfiches.dat").size() / 1024;
            std::printf("mémoire (liste et fiche ouvertes): %lld Ko, fichier %lld Ko, rapport %.2f\n", used, file,
                        file ? double(used) / double(file) : 0.0);
        }
        cardWindow->hide();
        listWindow->hide();
        // A left click on the map, with its list of cards.
        QWidget* map = main.findChild<QWidget*>(QStringLiteral("PicImage"));
        click.push_back(timeOnce([&] {
            QMouseEvent press(QEvent::MouseButtonPress, QPointF(450, 430), map->mapToGlobal(QPointF(450, 430)),
                              Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(map, &press);
        }));
        if (QWidget* w = visibleWindow("FFrance3"))
            w->hide();
        // "Définition de zones" opened with its pins, then a right click listing
        // a zone across the middle of the map.
        zoneOpen.push_back(timeOnce([&] { main.findChild<QAction*>(QStringLiteral("Tournèe"))->trigger(); }));
        QWidget* zones = main.findChild<QWidget*>(QStringLiteral("Ffrance28"), Qt::FindDirectChildrenOnly);
        QWidget* zoneMap = zones->findChild<QWidget*>(QStringLiteral("PicImage"));
        const auto press = [&](Qt::MouseButton button, QPointF at) {
            QMouseEvent e(QEvent::MouseButtonPress, at, zoneMap->mapToGlobal(at), button, button, Qt::NoModifier);
            QApplication::sendEvent(zoneMap, &e);
        };
        press(Qt::LeftButton, QPointF(600, 500));
        press(Qt::LeftButton, QPointF(250, 200));
        zoneList.push_back(timeOnce([&] { press(Qt::RightButton, QPointF(400, 400)); }));
        if (QWidget* w = main.findChild<QWidget*>(QStringLiteral("FFrance3"), Qt::FindDirectChildrenOnly))
            w->hide();
        // The close box: the next round opens a new zone window.
        zones->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    const bool listsOnly = qEnvironmentVariableIntValue("TABULON_BENCH_LISTS") == 1;
    // The search box: each key of a typed text, answered and painted.
    if (!listsOnly) {
        auto* box = main.findChild<QLineEdit*>(QStringLiteral("Recherche"));
        std::vector<double> keys;
        for (int r = 0; r < runs; ++r) {
            box->clear();
            QCoreApplication::processEvents();
            for (QChar c : QStringLiteral("chatel plage"))
                keys.push_back(timeOnce([&] { box->insert(QString(c)); }));
        }
        box->clear();
        report("recherche : une touche", keys);
    }
    // Scrolling the map (cached pins) and changing its zoom, at two zooms.
    if (!listsOnly) {
        auto* picture = main.findChild<MapPicture*>(QStringLiteral("PicImage"));
        auto* h = main.findChild<QScrollBar*>(QStringLiteral("HScroll1"));
        auto* v = main.findChild<QScrollBar*>(QStringLiteral("VScroll1"));
        // Smaller than the map, so that there is something to scroll at 100 %.
        main.resize(700, 560);
        QCoreApplication::processEvents();
        // Forward by a few notches, back to the start at the end.
        const auto step = [](QScrollBar* bar, int by) {
            bar->setValue(bar->value() + by > bar->maximum() ? 0 : bar->value() + by);
        };
        // Above 100 % the default map's drawing replaces the enlarged picture
        // tile by tile between events: each repaint is timed, and the wait
        // until the whole view is sharp.
        const auto untilSharp = [&] {
            const auto start = Clock::now();
            int repaints = 0;
            while (picture->drawingPending()) {
                QCoreApplication::processEvents();
                ++repaints;
            }
            return std::pair(ms(start), repaints);
        };
        for (double zoom : {1.0, 3.37, 4.0, 8.0}) {
            std::vector<double> change, scroll, sharp, repaint;
            for (int r = 0; r < runs; ++r) {
                change.push_back(timeOnce([&] { picture->setZoom(1.5); }));
                untilSharp();
                change.push_back(timeOnce([&] { picture->setZoom(zoom); }));
                const auto [wait, repaints] = untilSharp();
                sharp.push_back(wait);
                if (repaints)
                    repaint.push_back(wait / repaints);
                for (int k = 0; k < 10; ++k) {
                    scroll.push_back(timeOnce([&] {
                        step(h, 40);
                        step(v, 30);
                    }));
                    untilSharp();
                }
            }
            const QByteArray name = QByteArray::number(qRound(zoom * 100));
            report(("changer de zoom (vers " + name + " %)").constData(), change);
            report(("défiler la carte à " + name + " %").constData(), scroll);
            if (!repaint.empty()) {
                report(("carte nette à " + name + " % (toute la vue)").constData(), sharp);
                report(("carte nette à " + name + " % (un pas entre deux événements)").constData(), repaint);
            }
        }
        picture->setZoom(1.0);
    }
    report("ouvrir la base (carte et épingles)", open);
    if (!reminders.empty())
        report("rappels affichés après l'ouverture", reminders);
    report("liste alphabétique affichée", list);
    report("liste alphabétique complète", fullList);
    report("tout sélectionner (Ctrl+A) pendant le remplissage, cible <= 100 ms", selectFilling);
    report("tout sélectionner (Ctrl+A) la liste complète, cible <= 100 ms", selectAll);
    report("fiche ouverte depuis une ligne", card);
    report("liste des noms de la fiche prête", nameList);
    report("passer à la fiche suivante", move);
    report("valider la modification", store);
    report("clic gauche sur la carte", click);
    report("définition de zones ouverte (carte et épingles)", zoneOpen);
    report("clic droit : fiches de la zone listées", zoneList);
    return 0;
}
