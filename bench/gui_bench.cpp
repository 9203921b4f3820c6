// Times what a user waits for on a large database, through the real windows
// (the scripted dialogs return at once, so only Tabulon's own work is timed).
// Usage: tabulon_gui_bench DATABASE_FOLDER (made with TABULON_BENCH_FOLDER).
#include "fake_dialogs.h"
#include "gui/app/main_window.h"
#include "gui/cards/card_window.h"
#include "core/lists/card_lists.h"
#include "gui/lists/list_commands.h"
#include "gui/lists/list_window.h"

#include <QApplication>
#include <QDir>
#include <QListWidget>
#include <QPushButton>
#include <QTemporaryDir>
#include <chrono>
#include <cstdio>
#include <functional>

namespace {
void timed(const char* name, const std::function<void()>& fn)
{
    const auto start = std::chrono::steady_clock::now();
    fn();
    QCoreApplication::processEvents();
    const std::chrono::duration<double, std::milli> d = std::chrono::steady_clock::now() - start;
    std::printf("%s: %.0f ms\n", name, d.count());
    std::fflush(stdout);
}
}  // namespace

int main(int argc, char** argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: tabulon_gui_bench DATABASE_FOLDER\n");
        return 2;
    }
    QString folder = QDir(QString::fromLocal8Bit(argv[1])).absolutePath() + u'/';
    QTemporaryDir program;
    FakeDialogs dialogs;
    FFrance main(dialogs, program.path() + u'/');

    timed("open database (map and pins)", [&] { main.openDatabaseFolder(folder); });
    timed("alphabetical list shown", [&] { showSortedList(main.context(), tb::ListKind::Alphabetical); });
    timed("open card from list", [&] { openCardFromList(main.context(), 10); });
    timed("all cards (card window)", [&] { showAllCards(main.context()); });
    FFrance4* card = main.windows().cardWindow();
    timed("move to another card", [&] { card->selectNameRow(500); });
    timed("store a change", [&] { card->Command2->click(); });
    timed("map left click", [&] { main.mapLeftClick(450, 450); });
    return 0;
}
