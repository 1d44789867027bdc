#pragma once

#include <QList>

class QLineEdit;

// Looks at boxes[firstIndex] .. boxes[firstIndex + count - 1] in that order and
// returns the index of the first whose trimmed text is empty (or, with
// numericOnly, is not a number); that box gets the focus if it is visible.
// Returns -1 when every box passes. Indexes outside the list are skipped.
int FirstEmptyBox(const QList<QLineEdit *> &boxes, int count, int firstIndex, bool numericOnly);
