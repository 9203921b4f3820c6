#pragma once
// A list's rows as (card number, line), to compare whole lists; its card numbers alone.
#include "core/lists/card_list.h"

#include <utility>
#include <vector>

namespace testing_support {

inline std::vector<std::pair<long long, QString>> listRows(const tb::CardList& list)
{
    std::vector<std::pair<long long, QString>> out;
    for (int i = 0; i < list.size(); ++i)
        out.emplace_back(list.number(i), list.display(i));
    return out;
}

inline std::vector<long long> listNumbers(const tb::CardList& list)
{
    std::vector<long long> out;
    for (int i = 0; i < list.size(); ++i)
        out.push_back(list.number(i));
    return out;
}

}  // namespace testing_support
