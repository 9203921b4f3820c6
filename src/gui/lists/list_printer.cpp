#include "gui/lists/list_printer.h"

#include "gui/app/dialogs.h"
#include "core/lists/list_page_layout.h"

#include <QDate>
#include <QListWidget>
#include <QPrinter>

void printList(Dialogs& dialogs, const QStringList& lines)
{
    QPrinter printer(QPrinter::HighResolution);
    const std::optional<tb::ListPrintStyle> style = choosePrintStyle(dialogs, printer);
    if (!style)
        return;
    const QDate today = QDate::currentDate();
    const auto draw = [&](QPrinter& onto) { tb::printListPages(onto, lines, today, *style); };
    if (dialogs.previewPrint(printer, draw))
        draw(printer);
}

std::optional<tb::ListPrintStyle> choosePrintStyle(Dialogs& dialogs, QPrinter& printer)
{
    // The fixed pitch keeps the columns.
    return choosePrintStyle(dialogs, printer, tb::defaultListPrintFont(), false);
}

std::optional<tb::ListPrintStyle> choosePrintStyle(Dialogs& dialogs, QPrinter& printer, const QFont& font,
                                                   bool takeFamily)
{
    // A cancelled printer choice means "do not print"; a cancelled font or
    // colour choice keeps what was offered.
    if (!dialogs.choosePrinter(printer))
        return std::nullopt;

    // The size, bold and italic of a chosen font are taken, its family only when asked.
    const auto take = [takeFamily](QFont& into, const QFont& chosen) {
        if (takeFamily && !chosen.family().isEmpty())
            into.setFamily(chosen.family());
        if (chosen.pointSizeF() > 0)
            into.setPointSizeF(chosen.pointSizeF());
        into.setBold(chosen.bold());
        into.setItalic(chosen.italic());
    };
    tb::ListPrintStyle style;
    style.font = font;
    if (dialogs.printFont)
        take(style.font, *dialogs.printFont);
    if (dialogs.printColor)
        style.color = *dialogs.printColor;
    if (const std::optional<QFont> chosen = dialogs.chooseFont(tb::withStyleName(style.font))) {
        take(style.font, *chosen);
        dialogs.printFont = *chosen;
    }
    if (const std::optional<QColor> color = dialogs.chooseColor(style.color); color && color->isValid()) {
        style.color = *color;
        dialogs.printColor = *color;
    }
    return style;
}

QStringList listLines(const QListWidget* list)
{
    QStringList out;
    out.reserve(list->count());
    for (int i = 0; i < list->count(); ++i)
        out.append(list->item(i)->text());
    return out;
}
