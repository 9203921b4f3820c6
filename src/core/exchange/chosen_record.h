#pragma once
// The record of card n as an export reads it: padded to the record size, or
// nothing when the choice leaves the card out.
#include "core/cards/card_record.h"
#include "core/cards/record_bytes.h"
#include "core/exchange/card_choice.h"

#include <QByteArray>
#include <QByteArrayView>

namespace tb {

class ChosenRecord {
public:
    explicit ChosenRecord(const CardChoice& cards) : m_cards(cards) {}
    QByteArrayView operator()(long long n, QByteArrayView bytes)
    {
        const QByteArrayView record = CardRecord::padded(bytes, m_room);
        return m_cards.takes(n, isActiveRecord(record)) ? record : QByteArrayView();
    }

private:
    const CardChoice& m_cards;
    QByteArray m_room;
};

}  // namespace tb
