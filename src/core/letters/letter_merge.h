#pragma once
// A form letter merged for cards: its fields («Nom», «Reste dû», the custom
// fields by their captions) replaced by each card's values, the fields empty
// on a card reported, and one letter per card painted on A4 pages with the
// address where a window envelope shows it.
#include "core/base/error.h"
#include "core/journals/debtors.h"

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>
#include <vector>

class QPagedPaintDevice;
struct CardRecord;

namespace tb {

class Database;

// The fields a letter can hold, in the order the editor lists them: the nine
// of every card, then the captions of fields 11 to 20 (empty ones and those
// that repeat a name left out).
QStringList letterFieldNames(const QStringList& captions);
// "«Nom»": a field as the letter holds it.
QString letterFieldMark(const QString& name);
// The names between « and » in html, once each, in their order.
QStringList letterFieldsUsed(const QString& html);

// The values of the fields for one card ("" where the card has none; "aucun"
// for the last payment of a card without one).
QStringList letterFieldValues(const CardRecord& card, const QStringList& captions,
                              const std::optional<LastPayment>& last, const QDate& today);

struct LetterGap {
    long long number = 0;
    QString card;   // "DUPONT Jean"
    QString field;  // "Rue"
};

struct MergedLetter {
    long long number = 0;
    QStringList address;
    QString html;
};

struct LetterMerge {
    std::vector<MergedLetter> letters;
    // In the order of the cards; for each, the address's fields (Nom, Rue,
    // Code postal, Ville), then the letter's in their order.
    std::vector<LetterGap> gaps;
    QStringList unknown;          // «names» that are no field: left as written
    QStringList cutAddresses;     // address lines too long, as the labels report them
};

// One letter per card of cards (in that order).
Result<LetterMerge> mergeLetter(const Database& db, const QString& html, const QList<long long>& cards,
                                const QDate& today = QDate::currentDate());

// What to tell before printing, one line each: "Fiche n° 12 (DUPONT Jean) :
// « Rue » est vide.", the address lines cut and "« Xyz » n'est pas un champ :
// laissé tel quel.";
// empty when all is filled.
QStringList letterReport(const LetterMerge& merge);

// Each letter from a new A4 page: the address block 110 mm from the left edge
// and 50 mm from the top of the sheet, the text below it. Fails when the
// device cannot be painted on (a printer's file that cannot be written).
Status paintLetters(QPagedPaintDevice& device, const LetterMerge& merge);
// The same into a PDF file, written whole or not at all.
Status writeLettersPdf(const QString& path, const LetterMerge& merge);

}  // namespace tb
