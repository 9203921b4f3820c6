#pragma once
// What screen readers hear that Qt does not give by itself: on Linux a combo
// box is named by its current value; here it is named by its caption (its
// accessible name or its buddy label) and its value is its value.
void installAccessibleNames();
