#pragma once
// Two cards side by side, each under its title: the import's duplicate and
// the sync's conflict show what they ask about alike.
#include "core/cards/card_record.h"

#include <QWidget>

class QLabel;

// The filled fields 2 to 10 of a card, one per line, under their captions.
QString cardFieldsText(const CardRecord& card);

class CardPair : public QWidget {
    Q_OBJECT
public:
    // The panels are named leftName and rightName, for tests.
    CardPair(const QString& leftTitle, const char* leftName, const QString& rightTitle, const char* rightName,
             QWidget* parent);

    void setTexts(const QString& left, const QString& right);

private:
    QLabel* m_left = nullptr;
    QLabel* m_right = nullptr;
};
