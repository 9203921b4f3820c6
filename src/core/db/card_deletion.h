#pragma once
// Deleting a card so that a crash at any moment loses nothing: the intent
// goes first into "suppression.txt" (the card deleted, the last card, the
// trash entry), the card is kept whole in the trash, then the last card
// moves into the freed number with its side files and the count drops. The
// next opening finishes an interrupted deletion, or undoes it when the card
// never reached the trash (nothing was changed yet).
#include "core/base/error.h"
#include "core/cards/card_store.h"

#include <QDateTime>
#include <functional>

namespace tb {

class CardDeletion {
public:
    enum class Keep { InTrash, Nothing };

    explicit CardDeletion(const CardStore& store) : m_store(store) {}

    static QString intentName() { return QStringLiteral("suppression.txt"); }
    static bool pending(const QString& folder);

    struct Outcome {
        long long deleted = 0;  // the number freed (0: undone)
        long long count = 0;    // the count after it
        int trashEntry = 0;     // where the card is kept (0: nowhere)
    };
    // Deletes card n of the count cards.
    Result<Outcome> run(long long n, long long count, Keep keep, const QDateTime& when);
    // Finishes or undoes the deletion the intent describes.
    Result<Outcome> resume();

    // Called after each change of a file; tests stop a deletion there.
    static void setStepHook(std::function<void()> hook);

private:
    Result<Outcome> finish(bool resuming);

    CardStore m_store;
};

// The names on disk of card n's side files in folder, every spelling of them.
QStringList sideFilesOnDisk(const QString& folder, long long n);
// A side file of card from named for card to, its letters' case kept;
// empty when name is none of card from's side files.
QString renumberedSideFile(const QString& name, long long from, long long to);

}  // namespace tb
