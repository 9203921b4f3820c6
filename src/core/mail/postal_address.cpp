#include "core/mail/postal_address.h"

#include "core/base/codepage.h"
#include "core/base/number_text.h"

namespace tb {

namespace {

QString joined(std::initializer_list<QString> parts)
{
    QStringList kept;
    for (const QString& p : parts)
        if (const QString s = p.simplified(); !s.isEmpty())
            kept.append(s);
    return kept.join(u' ');
}

// At the last blank or hyphen that leaves at most kAddressLineWidth
// characters; a line that would lose more than half is cut at the width.
QString cutAtWord(const QString& line)
{
    for (qsizetype i = kAddressLineWidth; i > kAddressLineWidth / 2; --i)
        if (line[i] == u' ' || line[i] == u'-')
            return line.left(i).trimmed();
    return line.left(kAddressLineWidth);
}

}  // namespace

PostalAddress postalAddressLines(const CardRecord& card)
{
    const QString lines[] = {
        joined({card.field(kFieldCivility), card.field(kFieldFirstNames), card.field(kFieldSurname)}),
        joined({card.field(kFieldStreet)}),
        upperWithinCodePage(joined({card.field(kFieldPostalCode), card.field(kFieldCity)})),
    };
    PostalAddress out;
    for (const QString& line : lines) {
        if (line.isEmpty())
            continue;
        if (line.size() > kAddressLineWidth) {
            out.cut.append(line);
            out.lines.append(cutAtWord(line));
        } else {
            out.lines.append(line);
        }
    }
    return out;
}

QStringList addressReport(long long n, const PostalAddress& address)
{
    QStringList out;
    const QString card = QStringLiteral("Fiche n° ") + plainNumber(n) + QStringLiteral(" : ");
    if (address.isEmpty())
        out.append(card + QStringLiteral("aucune adresse, pas d'étiquette."));
    for (const QString& line : address.cut)
        out.append(card + QStringLiteral("« ") + line + QStringLiteral(" » dépasse ") + QString::number(kAddressLineWidth)
                   + QStringLiteral(" caractères, coupé en « ") + cutAtWord(line) + QStringLiteral(" »."));
    return out;
}

}  // namespace tb
