#pragma once
// The address block of a card as La Poste asks it on a letter: at most six
// lines of at most 38 characters; civility, first names and surname; the
// street; the postal code and the city in capitals on the last line.
#include "core/cards/card_record.h"

#include <QString>
#include <QStringList>

namespace tb {

constexpr int kAddressLineWidth = 38;
constexpr int kAddressMostLines = 6;

struct PostalAddress {
    QStringList lines;  // none empty, each at most kAddressLineWidth long
    QStringList cut;    // the lines too long, as they were before being cut
    bool isEmpty() const { return lines.isEmpty(); }
};

// Blanks of the padded fields dropped, a line too long cut at its last word
// that fits (at a blank or a hyphen: a city is often one long hyphenated
// word; cut at 38 characters when that would keep less than half) and named
// in cut.
PostalAddress postalAddressLines(const CardRecord& card);

// What a user is told before printing about card n's block (one line per cut
// line), or nothing when it is whole.
QStringList addressReport(long long n, const PostalAddress& address);

}  // namespace tb
