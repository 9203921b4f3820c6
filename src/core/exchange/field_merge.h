#pragma once
// A card merged field by field from two versions of it (a sync conflict).
#include "core/cards/card_record.h"

#include <vector>

namespace tb {

// The fields (1 to 20) whose texts differ, trailing blanks aside.
std::vector<CardField> differingFields(const CardRecord& a, const CardRecord& b);

// card with the fields named taken from other.
CardRecord withFieldsFrom(CardRecord card, const CardRecord& other, const std::vector<CardField>& fields);

}  // namespace tb
