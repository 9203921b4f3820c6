#pragma once
// The searches of "Recherches": the cards whose field begins with a text.
#include "core/base/error.h"
#include "core/lists/card_list.h"

#include <array>

class CardStore;

namespace tb {

enum class SearchField { Surname, PostalCode, City, Landline, Mobile };

struct SearchKind {
    SearchField field;
    QString title;             // input box title
    QString prompt;            // input box prompt
    QString defaultAnswer;
    int recordField;           // field searched, 1 to 20
    std::array<int, 4> lineFields;  // fields of a result line
};

const SearchKind& searchKind(SearchField field);

// Cards 1..count, active and archived, whose stored field (trailing blanks
// included) begins with text, case-sensitively; sorted as the lists are. An
// empty text matches every card; a text longer than the field none.
Result<CardList> searchCards(const CardStore& store, long long count, SearchField field, const QString& text);

}  // namespace tb
