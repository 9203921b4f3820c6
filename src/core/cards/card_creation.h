#pragma once
// The side files every new card receives from the database's templates.
#include <array>

namespace tb {

// (template, prefix, extension): "F.xls" becomes "F12.xls" for card 12.
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

}  // namespace tb
