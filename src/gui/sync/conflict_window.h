#pragma once
// A card changed here and on the server since the last sync: keep this one,
// the server's, or merge them field by field; for this one or for all.
#include "sync/card_sync.h"

#include <QWidget>
#include <vector>

struct AppContext;
class CardPair;
class QCheckBox;
class QComboBox;
class QGridLayout;
class QLabel;
class QPushButton;

class FConflits : public QWidget {
    Q_OBJECT
public:
    FConflits(AppContext& ctx, QWidget* parent);

    // captions: fields 2 to 20 as exchangeCaptions() gives them.
    void setConflict(const tb::SyncConflict& conflict, const QStringList& captions);
    // Undecided when the window was closed without a choice.
    tb::ConflictDecision decision() const;

private:
    void choose(tb::ConflictChoice choice);

    AppContext& m_ctx;
    tb::SyncConflict m_conflict;
    tb::ConflictChoice m_choice = tb::ConflictChoice::Undecided;
    std::vector<tb::CardField> m_fields;  // those that differ, one row each
    std::vector<QComboBox*> m_sides;      // Combo1(k): 0 here, 1 the server's

    QLabel* LabelFiche = nullptr;
    CardPair* m_cards = nullptr;  // LabelIci, LabelServeur
    QWidget* m_rows = nullptr;
    QGridLayout* m_grid = nullptr;
    QCheckBox* CheckTous = nullptr;
};
