#include "core/base/numeric.h"

#include <charconv>
#include <cmath>
#include <cstdio>
#include <limits>

namespace tb {

namespace {

// Leading number of a run of characters given one at a time as 8-bit codes;
// blanks are ignored anywhere, as the old BASIC Val did. Anything outside
// ASCII arrives as 1 and ends the number. Parsed with from_chars so that the
// C locale (French under Qt) never turns "." into a stop.
template <typename Next>
double parseLeadingNumber(qsizetype size, Next charAt, bool commaIsPoint = false)
{
    char buf[64];
    int len = 0;
    qsizetype i = 0;
    // Next significant character, skipping blanks; 0 at the end.
    auto peek = [&]() -> char {
        while (i < size) {
            const char c = charAt(i);
            if (c != ' ' && c != '\t')
                return c;
            ++i;
        }
        return 0;
    };
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    bool negative = false;
    char c = peek();
    if (c == '+' || c == '-') {
        negative = c == '-';
        ++i;
    }
    bool digits = false, dot = false;
    // A long run of digits only needs its first ones; the rest scale it.
    int dropped = 0;
    while ((c = peek()) != 0) {
        if (isDigit(c)) {
            digits = true;
            if (len < 40)
                buf[len++] = c;
            else if (!dot)
                ++dropped;
        } else if ((c == '.' || (commaIsPoint && c == ',')) && !dot) {
            dot = true;
            if (len < 40)
                buf[len++] = '.';
        } else {
            break;
        }
        ++i;
    }
    if (!digits)
        return 0.0;
    long exponent = dropped;
    if (c == 'e' || c == 'E' || c == 'd' || c == 'D') {
        ++i;
        bool expNegative = false;
        char s = peek();
        if (s == '+' || s == '-') {
            expNegative = s == '-';
            ++i;
        }
        long e = 0;
        while ((s = peek()) != 0 && isDigit(s)) {
            if (e < 100000)
                e = e * 10 + (s - '0');
            ++i;
        }
        exponent += expNegative ? -e : e;
    }
    // Whole numbers of up to 15 digits are exact in a double: no parsing.
    if (exponent == 0 && !dot && len <= 15) {
        double whole = 0;
        for (int k = 0; k < len; ++k)
            whole = whole * 10 + (buf[k] - '0');
        return negative ? -whole : whole;
    }
    if (exponent != 0) {
        const int n = std::snprintf(buf + len, sizeof buf - len, "e%ld", exponent);
        len += n;
    }
    double v = 0;
    const auto r = std::from_chars(buf, buf + len, v, std::chars_format::general);
    if (r.ec != std::errc() || !std::isfinite(v))
        return 0.0;
    return negative ? -v : v;
}

double parseText(QStringView text, bool commaIsPoint)
{
    return parseLeadingNumber(
        text.size(),
        [&](qsizetype k) {
            const char16_t u = text[k].unicode();
            return u < 128 && u != 0 ? char(u) : char(1);
        },
        commaIsPoint);
}

}  // namespace

double numericValue(QStringView text)
{
    return parseText(text, false);
}

double numericValue(QByteArrayView bytes)
{
    // The pins' usual form, blanks around up to nine digits, read at once.
    const qsizetype size = bytes.size();
    qsizetype i = 0;
    while (i < size && bytes[i] == ' ')
        ++i;
    int whole = 0;
    qsizetype end = i;
    for (; end < size && end - i < 9 && bytes[end] >= '0' && bytes[end] <= '9'; ++end)
        whole = whole * 10 + (bytes[end] - '0');
    qsizetype rest = end;
    while (rest < size && bytes[rest] == ' ')
        ++rest;
    if (end > i && rest == size)
        return double(whole);
    return parseLeadingNumber(bytes.size(), [&](qsizetype k) {
        const uchar b = uchar(bytes[k]);
        return b < 128 && b != 0 ? char(b) : char(1);
    });
}

double amountValue(QStringView text)
{
    return parseText(text, true);
}

long long numericInteger(QStringView text)
{
    const double v = numericValue(text);
    constexpr double limit = double(std::numeric_limits<int>::max());
    if (v >= limit)
        return std::numeric_limits<int>::max();
    if (v <= -limit)
        return -std::numeric_limits<int>::max();
    return static_cast<long long>(std::trunc(v));
}

}  // namespace tb
