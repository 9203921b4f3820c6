#include "core/lists/search_rank.h"

#include "core/cards/card_record.h"

#include <algorithm>

namespace tb {
namespace {

bool beginsAWord(std::string_view field, std::string_view word)
{
    for (size_t at = field.find(word); at != std::string_view::npos; at = field.find(word, at + 1))
        if (at == 0 || field[at - 1] == ' ')
            return true;
    return false;
}

bool isFieldMark(char c)
{
    return uchar(c) <= CardRecord::kFieldCount;
}

}  // namespace

SearchRank searchRank(const QByteArrayList& words, std::string_view card)
{
    // One bit per word typed; more than 64 words is no search anyone types.
    const int count = std::min<int>(int(words.size()), 64);
    if (count == 0)
        return {};
    const quint64 all = count == 64 ? ~quint64(0) : (quint64(1) << count) - 1;
    quint64 anywhere = 0;
    size_t start = 0;
    while (start < card.size()) {
        const int field = uchar(card[start]);
        size_t end = start + 1;
        while (end < card.size() && !isFieldMark(card[end]))
            ++end;
        const std::string_view text = card.substr(start + 1, end - start - 1);
        quint64 here = 0;
        for (int w = 0; w < count; ++w)
            if (beginsAWord(text, std::string_view(words[w].constData(), size_t(words[w].size()))))
                here |= quint64(1) << w;
        if (here == all)
            return {SearchMatch::OneField, field};
        anywhere |= here;
        start = end;
    }
    return {anywhere == all ? SearchMatch::SeveralFields : SearchMatch::Inside, 0};
}

}  // namespace tb
