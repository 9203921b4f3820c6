#include "base/numeric.h"

#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

namespace tb {

double numericValue(QStringView text)
{
    std::string s;
    s.reserve(text.size());
    for (QChar c : text) {
        if (c == u' ' || c == u'\t')
            continue;  // blanks are ignored anywhere, as the old BASIC Val did
        s += c.unicode() < 128 ? char(c.unicode()) : '\x01';
    }
    size_t i = 0;
    std::string num;
    if (i < s.size() && (s[i] == '+' || s[i] == '-'))
        num += s[i++];
    bool digits = false, dot = false;
    while (i < s.size()) {
        if (std::isdigit(uchar(s[i]))) {
            num += s[i++];
            digits = true;
        } else if (s[i] == '.' && !dot) {
            num += s[i++];
            dot = true;
        } else {
            break;
        }
    }
    if (!digits)
        return 0.0;
    if (i < s.size() && (s[i] == 'e' || s[i] == 'E' || s[i] == 'd' || s[i] == 'D')) {
        std::string exp = "e";
        size_t j = i + 1;
        if (j < s.size() && (s[j] == '+' || s[j] == '-'))
            exp += s[j++];
        bool expDigits = false;
        while (j < s.size() && std::isdigit(uchar(s[j]))) {
            exp += s[j++];
            expDigits = true;
        }
        if (expDigits)
            num += exp;
    }
    const double v = std::strtod(num.c_str(), nullptr);
    return std::isfinite(v) ? v : 0.0;
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
