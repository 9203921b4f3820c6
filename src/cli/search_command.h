#pragma once
// The search command's pieces that both its quick path (tabulon-cli-search,
// on the records alone, without Qt Gui) and the full command set run.
#include "cli/arguments.h"
#include "core/lists/searches.h"

#include <map>

class CardStore;

namespace cli {

// search BASE --by FIELD TEXT
const Syntax& searchSyntax();
// The names --by takes.
const std::map<QString, tb::SearchField>& searchFields();
// The cards 1..count whose field begins with text, printed as list prints them.
int printSearch(const CardStore& store, long long count, tb::SearchField field, const QString& text);

}  // namespace cli
