#pragma once
// A contact to import that matches a card already there: skip it, create it
// anyway, or fill the empty fields of the card, for this one or for all.
#include "core/exchange/card_import.h"

#include <QWidget>

struct AppContext;
class CardPair;
class QCheckBox;
class QLabel;
class QPushButton;

class FDoublon : public QWidget {
    Q_OBJECT
public:
    FDoublon(AppContext& ctx, QWidget* parent);

    // rule: what makes them the same, said above the two cards.
    void setCards(const CardRecord& incoming, long long existing, const CardRecord& existingCard,
                  tb::DuplicateRule rule = tb::DuplicateRule::Names);
    // Skip when the window was closed without a choice.
    tb::DuplicateDecision decision() const;

private:
    void choose(tb::DuplicateChoice choice);

    AppContext& m_ctx;
    tb::DuplicateChoice m_choice = tb::DuplicateChoice::Skip;

    QLabel* LabelRegle = nullptr;
    CardPair* m_cards = nullptr;  // LabelImport, LabelExistante
    QPushButton* CommandIgnorer = nullptr;
    QPushButton* CommandCreer = nullptr;
    QPushButton* CommandCompleter = nullptr;
    QCheckBox* CheckTous = nullptr;
};
