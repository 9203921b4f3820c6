#include "core/journals/journal_dates.h"

namespace tb {

bool hasJournalDateShape(const QString& text)
{
    return text.size() == 8 && text[2] == u'/' && text[5] == u'/';
}

int fullYear(int twoDigitYear, int referenceYear)
{
    int year = referenceYear - referenceYear % 100 + twoDigitYear;
    if (year > referenceYear + 19)
        year -= 100;
    else if (year < referenceYear - 80)
        year += 100;
    return year;
}

std::optional<QDate> journalDate(const QString& text, int referenceYear)
{
    if (!hasJournalDateShape(text))
        return std::nullopt;
    const auto part = [&](int from, int* out) {
        const QChar a = text[from], b = text[from + 1];
        if (!a.isDigit() || !b.isDigit() || a.unicode() > '9' || b.unicode() > '9')
            return false;
        *out = (a.unicode() - '0') * 10 + (b.unicode() - '0');
        return true;
    };
    int day = 0, month = 0, year = 0;
    if (!part(0, &day) || !part(3, &month) || !part(6, &year))
        return std::nullopt;
    const QDate date(fullYear(year, referenceYear), month, day);
    if (!date.isValid())
        return std::nullopt;
    return date;
}

QString journalDateText(const QDate& date)
{
    return date.toString(QStringLiteral("dd/MM/yy"));
}

}  // namespace tb
