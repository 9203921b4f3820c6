#include "core/tools/rib_key.h"

#include "core/base/codepage.h"
#include "core/base/numeric.h"

#include <cmath>

namespace tb {

namespace {

Error lengthError(const char* text)
{
    return Error{kNoErrorNumber, QString::fromUtf8(text)};
}

// A=1 … I=9, J=1 … R=9, S=2 … Z=9: the letter table of the RIB standard.
char letterDigit(char capital)
{
    if (capital <= 'I')
        return char('1' + (capital - 'A'));
    if (capital <= 'R')
        return char('1' + (capital - 'J'));
    return char('2' + (capital - 'S'));
}

QByteArray accountDigits(const QString& account)
{
    QByteArray bytes = toCp1252(account);
    for (char& ch : bytes) {
        const uchar b = uchar(ch);
        // Typed in small letters, an account means the same letters.
        if (b >= 'a' && b <= 'z')
            ch = char(b - 'a' + 'A');
        if (ch >= 'A' && ch <= 'Z')
            ch = letterDigit(ch);
        else if (uchar(ch) > 'Z')
            ch = QByteArray::number(uchar(ch) - 81).at(0);
    }
    return bytes;
}

}  // namespace

Result<std::optional<int>> ribKey(const QString& bank, const QString& branch, const QString& account)
{
    if (bank.size() != 5)
        return lengthError("Le code Banque doit comporter 5 caractères");
    if (branch.size() != 5)
        return lengthError("Le code Guichet doit comporter 5 caractères");
    if (account.size() != 11)
        return lengthError("Le N°de compte doit comporter 11 caractères");
    const double b = numericValue(bank);
    const double g = numericValue(branch);
    if (b == 0 || g == 0)
        return std::optional<int>();
    const double c = numericValue(QByteArrayView(accountDigits(account)));
    // Whole-number remainders, as the key is defined.
    auto mod97 = [](double v) { return std::llround(v) % 97; };
    const long long p = mod97(8 * b);
    const long long q = 97 - mod97(15 * g);
    const long long r = 97 - mod97(3 * c);
    long long k = (p + q + r) % 97;
    if (k == 0)
        k = 97;
    return std::optional<int>(int(k));
}

}  // namespace tb
