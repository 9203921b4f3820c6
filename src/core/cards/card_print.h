#pragma once
// A card, or every card, on printed pages: the date and the title at 3000
// twips from 1000 twips down, then for each field its caption at 1000 twips
// and its value at 4000 twips on the line below, then an empty line. A new
// page when a page is full; a caption never parted from its value; no line
// ever passes the edge of the page.
#include "core/base/error.h"
#include "core/cards/card_record.h"
#include "core/lists/list_page_layout.h"

#include <QDate>
#include <QStringList>
#include <functional>

class QPagedPaintDevice;

namespace tb {

class Database;

struct CardPrint {
    QString title;             // "Fiche 12" or "Fichier complet"
    QStringList captions;      // of fields 2 to 20
    long long count = 0;       // the cards printed are 1 to count
    bool numbered = false;     // each card headed "Fiche n° " + its number
    std::function<Result<CardRecord>(long long k)> card;
};

// The captions of fields 2 to 20 as the card windows show them: the fixed
// ones, then the database's ten.
QStringList printedCaptions(const QStringList& databaseCaptions);
// The card shown as n, with its texts as typed: titled "Fiche " + n.
CardPrint oneCardPrint(long long n, const CardRecord& card, const QStringList& databaseCaptions);
// Every card of db as stored, titled "Fichier complet".
CardPrint allCardsPrint(const Database& db);

// Prints onto device (the painter is begun and ended here, which ends the
// document) and returns the pages used. The whole print is at the largest
// size up to the chosen one at which every line fits the page's width.
Result<int> printCardPages(QPagedPaintDevice& device, const CardPrint& print, const QDate& date,
                           const ListPrintStyle& style);

}  // namespace tb
