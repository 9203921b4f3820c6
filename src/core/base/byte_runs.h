#pragma once
// Eight bytes at a time through the records' texts: the writers copy the runs
// of plain ASCII as they are and look up only the bytes around them.
#include <QByteArrayView>
#include <QtGlobal>

#include <algorithm>
#include <bit>
#include <cstring>

namespace tb {

namespace bytewise {

constexpr quint64 kOnes = 0x0101010101010101ULL;
constexpr quint64 kHighs = 0x8080808080808080ULL;

inline quint64 load8(const char* p)
{
    quint64 x;
    std::memcpy(&x, p, 8);
    return x;
}

// The high bit of each byte of x that is zero. Exact up to the first such
// byte (a borrow marks only bytes after it), which is all the callers use.
constexpr quint64 zeroBytes(quint64 x)
{
    return (x - kOnes) & ~x & kHighs;
}

// The same for the bytes below n (at most 0x80).
constexpr quint64 bytesBelow(quint64 x, uchar n)
{
    return (x - n * kOnes) & ~x & kHighs;
}

// The place (0 to 7) in memory of the first byte marked in a word of marks.
inline int firstMarked(quint64 marks)
{
    if constexpr (std::endian::native == std::endian::little)
        return std::countr_zero(marks) / 8;
    else
        return std::countl_zero(marks) / 8;
}

// Marks the bytes of x that are not plain: from 0x80, below a blank, or one of Specials.
template <char... Specials>
constexpr quint64 notPlain(quint64 x)
{
    return (x & kHighs) | bytesBelow(x, 0x20) | (zeroBytes(x ^ (quint64(uchar(Specials)) * kOnes)) | ... | 0);
}

}  // namespace bytewise

// Writes bytes at out: runs of plain ASCII (from the blank, none of
// Specials) copied as they are, every other byte b through out = put(b, out).
// Up to seven bytes past what is written may be overwritten. Bytes up to
// readableEnd (not before their end) may be read, eight at a time.
template <char... Specials, class Put>
char* copyPlainRuns(QByteArrayView bytes, const char* readableEnd, char* out, Put&& put)
{
    const char* p = bytes.data();
    const char* const end = p + bytes.size();
    while (p < end) {
        if (readableEnd - p >= 8) {
            const quint64 x = bytewise::load8(p);
            std::memcpy(out, p, 8);
            const quint64 stop = bytewise::notPlain<Specials...>(x);
            const qsizetype k = std::min<qsizetype>(stop == 0 ? 8 : bytewise::firstMarked(stop), end - p);
            out += k, p += k;
            if (k == 8 || p == end)
                continue;
        }
        out = put(uchar(*p++), out);
    }
    return out;
}

template <char... Specials, class Put>
char* copyPlainRuns(QByteArrayView bytes, char* out, Put&& put)
{
    return copyPlainRuns<Specials...>(bytes, bytes.data() + bytes.size(), out, put);
}

}  // namespace tb
