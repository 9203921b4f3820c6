#include "core/letters/address_block.h"

#include "core/base/codepage.h"

namespace tb {

namespace {
constexpr int kLineWidth = 38;
constexpr int kMostLines = 6;

QString cutAtWord(const QString& line)
{
    if (line.size() <= kLineWidth)
        return line;
    const qsizetype blank = line.lastIndexOf(u' ', kLineWidth);
    return (blank > 0 ? line.left(blank) : line.left(kLineWidth)).trimmed();
}
}  // namespace

QStringList postalAddressLines(const CardRecord& card)
{
    const auto text = [&](CardField k) { return card.field(k).simplified(); };
    const QStringList name{text(kFieldCivility), text(kFieldFirstNames), text(kFieldSurname)};
    const QStringList lines{name.join(u' ').simplified(), text(kFieldStreet),
                            (text(kFieldPostalCode) + u' ' + upperWithinCodePage(text(kFieldCity))).trimmed()};
    QStringList out;
    for (const QString& line : lines)
        if (!line.isEmpty() && out.size() < kMostLines)
            out.append(cutAtWord(line));
    return out;
}

}  // namespace tb
