#include "core/lists/search_rank.h"

#include "core/cards/card_record.h"

#include <algorithm>
#include <cstring>

namespace tb {

SearchRank searchRank(const QByteArrayList& words, std::string_view card)
{
    // One bit per word typed; more than 64 words is no search anyone types.
    const int count = std::min<int>(int(words.size()), 64);
    if (count == 0)
        return {};
    const quint64 all = count == 64 ? ~quint64(0) : (quint64(1) << count) - 1;
    // One pass over the card: at each word's first letter, the words typed
    // that begin there. Words typed hold letters and digits only, so none
    // runs over a blank or into the next field.
    quint64 anywhere = 0;
    quint64 here = 0;
    int field = 0;
    const char* text = card.data();
    const size_t size = card.size();
    size_t i = 0;
    while (i < size) {
        const uchar c = uchar(text[i]);
        if (c <= CardRecord::kFieldCount) {
            if (here == all)
                return {SearchMatch::OneField, field};
            anywhere |= here;
            here = 0;
            field = c;
            ++i;
            continue;
        }
        if (c == ' ') {
            ++i;
            continue;
        }
        for (int w = 0; w < count; ++w) {
            const QByteArray& word = words[w];
            if (uchar(word[0]) == c && size_t(word.size()) <= size - i
                && std::memcmp(text + i, word.constData(), size_t(word.size())) == 0)
                here |= quint64(1) << w;
        }
        // On to the end of the word: letters and digits lie above the blank.
        while (i < size && uchar(text[i]) > ' ')
            ++i;
    }
    if (here == all)
        return {SearchMatch::OneField, field};
    anywhere |= here;
    return {anywhere == all ? SearchMatch::SeveralFields : SearchMatch::Inside, 0};
}

}  // namespace tb
