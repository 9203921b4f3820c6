#pragma once
// Radio buttons of one choice, moved through with the four arrows as in every
// desktop dialog: the next one is focused and chosen, from the last back to the first.
#include <QList>

class QAbstractButton;

void chooseWithArrows(const QList<QAbstractButton*>& radios);
