#include "core/lists/searches.h"

#include "core/base/codepage.h"
#include "core/cards/card_record.h"
#include "core/cards/card_store.h"
#include "core/lists/display_line.h"

#include <algorithm>

namespace tb {
namespace {

constexpr std::array<int, 4> kNameLine{3, 4, 6, 7};

const std::array<SearchKind, 5>& kinds()
{
    static const std::array<SearchKind, 5> all{{
        {SearchField::Surname, QStringLiteral("Recherche par le nom"),
         QStringLiteral("Début du nom, écrit comme sur la fiche (les majuscules comptent) :"),
         QStringLiteral("Lavenu"), 3, kNameLine},
        {SearchField::PostalCode, QStringLiteral("Recherche par le code postal"),
         QStringLiteral("Code postal, ou son début (17 pour tout le département) :"), QStringLiteral("17340"), 6,
         kNameLine},
        {SearchField::City, QStringLiteral("Recherche par la loclité"),
         QStringLiteral("Début du nom de la ville, écrit comme sur la fiche (majuscules et accents comptent) :"),
         QStringLiteral("Châtelaillon-plage"), 7, {7, 6, 3, 4}},
        {SearchField::Landline, QStringLiteral("Recherche par le N° de téléphone fixe"),
         QStringLiteral("Début du numéro de téléphone fixe, écrit comme sur la fiche (espaces compris) :"),
         QStringLiteral("0512345678"), 8, kNameLine},
        // The mobile search has always shown the landline title.
        {SearchField::Mobile, QStringLiteral("Recherche par le N° de téléphone fixe"),
         QStringLiteral("Début du numéro de portable, écrit comme sur la fiche (espaces compris) :"),
         QStringLiteral("0612345678"), 9, kNameLine},
    }};
    return all;
}

}  // namespace

const SearchKind& searchKind(SearchField field)
{
    return kinds()[size_t(field)];
}

Result<CardList> searchCards(const CardStore& store, long long count, SearchField field, const QString& text)
{
    const SearchKind& kind = searchKind(field);
    const int width = CardRecord::kWidths[size_t(kind.recordField - 1)];
    const qsizetype offset = CardRecord::offset(kind.recordField - 1);
    CardList list;
    // A character the code page cannot hold is in no stored field (its
    // stand-in "?" would match one that holds a "?").
    if (text.size() > width || !fitsCp1252(text))
        return list;
    const QByteArray wanted = toCp1252(text);
    const size_t n = size_t(wanted.size());
    const Status read = store.forEachRaw(count, [&](long long number, QByteArrayView record) {
        QByteArrayView stored = record.size() > offset ? record.sliced(offset) : QByteArrayView();
        stored = stored.first(std::min<qsizetype>(stored.size(), width));
        // Bytes missing from a short record are blanks.
        for (size_t i = 0; i < n; ++i) {
            const char c = i < size_t(stored.size()) ? stored[qsizetype(i)] : ' ';
            if (c != wanted[qsizetype(i)])
                return;
        }
        list.add(displayLine(record, kind.lineFields), number);
    });
    if (!read)
        return read.error();
    list.sort();
    return list;
}

}  // namespace tb
