#pragma once
// The two-digit check key of a French bank account identifier (RIB).
#include "core/base/error.h"

#include <QString>
#include <optional>

namespace tb {

// The key, 1 to 97, of a bank code (5 characters), a branch code (5) and an
// account number (11, letters standing for digits as the RIB standard says).
// A wrong length is an Error with the window's message and no number; a bank
// or branch code of 0 has no key (nullopt).
Result<std::optional<int>> ribKey(const QString& bank, const QString& branch, const QString& account);

}  // namespace tb
