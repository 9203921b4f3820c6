#pragma once
// A card back from the trash as the next number, crash-safely: the intent
// ("restauration.txt": the entry, the new number) goes first, then the
// record past the count, the side files named for it, the count, and the
// entry leaves the trash. The next opening finishes a restoration that
// reached the count and undoes any other.
#include "core/base/error.h"
#include "core/cards/card_store.h"

namespace tb {

class CardRestoration {
public:
    explicit CardRestoration(const CardStore& store) : m_store(store) {}

    static QString intentName() { return QStringLiteral("restauration.txt"); }
    static bool pending(const QString& folder);

    // Trash entry as card count + 1.
    Status run(int entry, long long count);
    Status resume();

private:
    CardStore m_store;
};

}  // namespace tb
