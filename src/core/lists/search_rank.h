#pragma once
// How closely a card found by the search box matches the words typed, so
// that the closest come first: "chatel pla" lists CHÂTELAILLON-PLAGE before
// a card that only holds those letters inside other words.
#include <QByteArrayList>
#include <string_view>

namespace tb {

enum class SearchMatch {
    OneField = 0,       // every word begins a word of one same field
    SeveralFields = 1,  // every word begins a word of some field
    Inside = 2,         // the rest: a word found inside another
};

struct SearchRank {
    SearchMatch match = SearchMatch::Inside;
    int field = 0;  // OneField: the field (2 to 20) that holds every word
};

// words as searchWords gives them; card as the search index holds it: each
// field's number (a byte of 2 to 20) followed by its folded text.
SearchRank searchRank(const QByteArrayList& words, std::string_view card);

}  // namespace tb
