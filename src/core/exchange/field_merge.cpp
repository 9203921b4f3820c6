#include "core/exchange/field_merge.h"

namespace tb {

namespace {
QStringView withoutTrailingBlanks(const QString& text)
{
    QStringView v(text);
    while (!v.isEmpty() && v.back() == u' ')
        v.chop(1);
    return v;
}
}  // namespace

std::vector<CardField> differingFields(const CardRecord& a, const CardRecord& b)
{
    std::vector<CardField> out;
    for (CardField k = kFieldFirst; k <= kFieldLast; ++k)
        if (withoutTrailingBlanks(a.field(k)) != withoutTrailingBlanks(b.field(k)))
            out.push_back(k);
    return out;
}

CardRecord withFieldsFrom(CardRecord card, const CardRecord& other, const std::vector<CardField>& fields)
{
    for (CardField k : fields)
        card.field(k) = other.field(k);
    return card;
}

}  // namespace tb
