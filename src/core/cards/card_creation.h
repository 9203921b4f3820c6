#pragma once
// Storing a new card: the record, the count and the card's own side files.
#include "core/cards/card_record.h"

#include <QString>
#include <QStringList>
#include <array>

class CardStore;

namespace tb {

// Templates copied for every new card, as (template, prefix, extension).
struct CardTemplate {
    const char* templateName;
    const char* prefix;
    const char* extension;
};
inline constexpr std::array<CardTemplate, 5> kCardTemplates{{{"F.xls", "F", ".xls"},
                                                             {"F.txt", "F", ".txt"},
                                                             {"R.txt", "R", ".txt"},
                                                             {"I.txt", "I", ".txt"},
                                                             {"M.txt", "M", ".txt"}}};

// Creates card n from the twenty field texts: the count (countText, the
// shared Label6) rises to n when lower and is written to "NBFiches.dat", the
// surname goes to capitals (in texts too), record n is written and the five
// templates are copied to the card's side files, replacing any of that name.
// A number below 1 writes nothing and returns false.
bool createCard(const CardStore& store, long long n, std::array<QString, CardRecord::kFieldCount>& texts,
                QString& countText);

// Writes record n only (the debt calculation of a card being created, the
// store routine of the card window); false and nothing written when n < 1.
bool writeCardTexts(const CardStore& store, long long n, const std::array<QString, CardRecord::kFieldCount>& texts);

}  // namespace tb
