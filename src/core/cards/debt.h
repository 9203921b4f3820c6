#pragma once
// Debt fields of a card: 15, 16, 17 owed, 18 their total, 19 collected, 20 remaining.
#include "core/cards/card_record.h"

#include <QString>
#include <array>

namespace tb {

// Point forms of a, b, c, total, d, remaining from the texts of fields 15, 16,
// 17 and 19 (each read as its numeric value: "5,5" counts as 5).
std::array<QString, 6> debtCalculation(const QString& field15, const QString& field16, const QString& field17,
                                       const QString& field19);

// The fields receiving the six texts in order.
inline constexpr std::array<CardField, 6> kDebtFields{kFieldOwed,      kFieldInterestOwed, kFieldThirdOwed,
                                                      kFieldTotalOwed, kFieldCollected,    kFieldRemaining};

}  // namespace tb
