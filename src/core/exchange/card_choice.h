#pragma once
// Which cards an export writes: the active ones or all, of the whole
// database or only of a selection.
#include <QSet>

#include <optional>

namespace tb {

struct CardChoice {
    CardChoice(bool includeArchived = false) : includeArchived(includeArchived) {}
    CardChoice(bool includeArchived, QSet<long long> selection)
        : includeArchived(includeArchived), only(std::move(selection))
    {
    }
    bool takes(long long n, bool active) const { return (includeArchived || active) && (!only || only->contains(n)); }

    bool includeArchived;
    std::optional<QSet<long long>> only;  // the cards selected; every card when none
};

}  // namespace tb
