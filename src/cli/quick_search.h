#pragma once
// tabulon-cli's own search: the search command run on the records' bytes in
// plain C++, with tables the build makes from the core, for the searches it
// can settle alone. Anything else goes to the programs that run it in full.
#include <optional>
#include <string>
#include <string_view>

namespace cli {

// What "search" prints for cards 1..count of the database in folder (ending
// with "/"), by the --by name field, for text (UTF-8); nothing when the full
// search must decide: a field or character it does not know, a text longer
// than the field, a line the French order needs the collator for, an error.
std::optional<std::string> quickSearch(const std::string& folder, long long count, std::string_view field,
                                       std::string_view text);

}  // namespace cli
