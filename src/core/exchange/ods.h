#pragma once
// OpenDocument spreadsheets for LibreOffice and Excel: unlike a CSV file, each
// cell says whether it is a text or a number, so that postal codes and phones
// keep their leading zeros.
#include "core/base/error.h"
#include "core/exchange/card_choice.h"

#include <QString>

namespace tb {

class Database;

// Fields 2 to 20 of the active cards (or every card), one row each, under the
// header row of exchangeCaptions(): texts as text cells, the amounts (fields
// 15 to 20) that are plain numbers as number cells. Returns the number of
// cards written.
Result<long long> writeOdsFile(const Database& db, const QString& path, const CardChoice& cards);

}  // namespace tb
