#include "core/lists/list_count.h"

#include "core/base/number_text.h"
#include "core/cards/card_record.h"

namespace tb {

ListShown listShown(ListKind kind)
{
    switch (kind) {
    case ListKind::Alphabetical: return ListShown::Alphabetical;
    case ListKind::ByCity: return ListShown::ByCity;
    case ListKind::ByPostalCode: return ListShown::ByPostalCode;
    case ListKind::Archived: return ListShown::Archived;
    }
    return ListShown::Alphabetical;
}

QString listCountLine(long long count, ListShown shown)
{
    if (count <= 0)
        return QStringLiteral(" Aucune fiche.");
    const char16_t* what = u"";
    switch (shown) {
    case ListShown::Alphabetical: what = u" — ordre alphabétique"; break;
    case ListShown::ByCity: what = u" — par ville"; break;
    case ListShown::ByPostalCode: what = u" — par code postal"; break;
    case ListShown::Archived: what = u" — archives"; break;
    case ListShown::Search: what = u" — recherche"; break;
    case ListShown::Zone: what = u" — zone"; break;
    case ListShown::MapPoint: what = u" — à cet endroit"; break;
    }
    return u' ' + countText(count) + (count == 1 ? QStringLiteral(" fiche") : QStringLiteral(" fiches"))
           + QString::fromUtf16(what);
}

QString cardLineTip(const CardRecord& card, long long number)
{
    QString place = (card.field(kFieldPostalCode).trimmed() + u' ' + card.field(kFieldCity).trimmed()).trimmed();
    if (!place.isEmpty())
        place += QStringLiteral(", ");
    return place + QStringLiteral("fiche n° ") + QString::number(number);
}

}  // namespace tb
