#include "gui/cards/card_documents.h"

#include "core/cards/card_print.h"
#include "core/db/session.h"
#include "core/external/external_programs.h"
#include "core/external/launcher.h"
#include "gui/app/dialogs.h"
#include "gui/lists/list_printer.h"

#include <QApplication>
#include <QFontInfo>
#include <QPrinter>

namespace {

constexpr int kSpreadsheetProgram = 1;
constexpr int kWordProcessor = 2;
constexpr int kImageProgram = 3;
constexpr int kScannerProgram = 6;

tb::Attachment scanOf(int document)
{
    return document == 1 ? tb::Attachment::ScanA : tb::Attachment::ScanB;
}

tb::Attachment textOf(int document)
{
    return document == 1 ? tb::Attachment::TextA : tb::Attachment::TextB;
}

// Card n's document as it is on disk, whatever the case of its name; "" when
// no database is open or no card is shown.
QString documentFile(AppContext& ctx, tb::Attachment kind, long long n)
{
    const tb::Database* db = ctx.session.database();
    if (!db || n < 1)
        return {};
    return db->findSideFile(tb::sideFileOf(kind), n);
}

void openWithProgram(AppContext& ctx, int program, const QString& document)
{
    if (!document.isEmpty())
        tb::openWith(ctx.launcher, tb::programPath(ctx.session.programFolder(), program), document);
}

void printWith(AppContext& ctx, const tb::CardPrint& print)
{
    QPrinter printer(QPrinter::HighResolution);
    // The printer's own family, at the size, weight and slant chosen.
    QFont font = QApplication::font();
    font.setPointSize(10);
    // The real family, not an alias: the font dialog then opens on it.
    font.setFamily(QFontInfo(font).family());
    const std::optional<tb::ListPrintStyle> style = choosePrintStyle(ctx.dialogs, printer, font, false);
    if (!style)
        return;
    const QDate today = QDate::currentDate();
    if (!ctx.dialogs.previewPrint(printer, [&](QPrinter& onto) { return tb::printCardPages(onto, print, today, *style); }))
        return;
    ctx.dialogs.setBusy(true);
    const tb::Result<int> pages = tb::printCardPages(printer, print, today, *style);
    ctx.dialogs.setBusy(false);
    if (!pages)
        ctx.dialogs.showError(pages.error());
}

}  // namespace

void scanDocument(AppContext& ctx, int document, long long n)
{
    const tb::Database* db = ctx.session.database();
    if (!db || n < 1)
        return;
    ctx.dialogs.message(tb::scanInstruction(db->folder(), document, n));
    tb::startAlone(ctx.launcher, tb::programPath(ctx.session.programFolder(), kScannerProgram));
}

QString documentToView(AppContext& ctx, tb::Attachment kind, long long n)
{
    return documentFile(ctx, kind, n);
}

void openScanInImageProgram(AppContext& ctx, int document, long long n)
{
    openWithProgram(ctx, kImageProgram, documentFile(ctx, scanOf(document), n));
}

void openTextInWordProcessor(AppContext& ctx, int document, long long n)
{
    openWithProgram(ctx, kWordProcessor, documentFile(ctx, textOf(document), n));
}

void openSpreadsheet(AppContext& ctx, long long n)
{
    const tb::Database* db = ctx.session.database();
    if (db && n >= 1)
        openWithProgram(ctx, kSpreadsheetProgram, db->findSideFile(tb::SideFile::Sheet, n));
}

void addressToWordProcessor(AppContext& ctx, const CardRecord& card)
{
    const tb::Database* db = ctx.session.database();
    if (!db)
        return;
    const QString path = db->file(QStringLiteral("adresses.txt"));
    if (tb::Status s = tb::writeAddressFile(path, card); !s) {
        ctx.dialogs.showError(s.error());
        return;
    }
    openWithProgram(ctx, kWordProcessor, path);
}

void writeEmail(AppContext& ctx, const QString& address)
{
    if (!address.isEmpty())
        ctx.launcher.openUrl(tb::mailtoUrl(address.trimmed()));
}

void printCard(AppContext& ctx, long long n, const CardRecord& card)
{
    const tb::Database* db = ctx.session.database();
    if (!db || n < 1)
        return;
    printWith(ctx, tb::oneCardPrint(n, card, db->captions()));
}

void printAllCards(AppContext& ctx)
{
    const tb::Database* db = ctx.session.database();
    if (!db)
        return;
    // A sheet with a heading and no card would be wasted.
    if (db->count() == 0) {
        ctx.dialogs.message(QStringLiteral(" Il n'y a aucune fiche dans la base de données !"));
        return;
    }
    printWith(ctx, tb::allCardsPrint(*db));
}
