#pragma once
// The text files that hand the cards to other programs, written into the
// database folder.
#include "core/base/error.h"

#include <QString>

class CardStore;

namespace tb {

enum class ExportFormat {
    Fields,     // "export.txt": fields 2 to 20 of every card, each followed by ";"
    Addresses,  // "adresses.txt": three address lines per card
};

QString exportFileName(ExportFormat format);

// Writes the file of cards 1..count, active and archived, in card number
// order, replacing any earlier one whole. Returns its path.
Result<QString> writeExport(const CardStore& store, long long count, ExportFormat format);

}  // namespace tb
