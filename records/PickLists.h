#pragma once

#include "classes/ClassStructure.h"

#include <QString>

class QComboBox;

// Appends to `box` the list its objectName asks for (cmbSex, cmbState,
// cmbClassLevel, cmbMaritalStatus, cmbServiceStatus) and selects the first
// item. A box of any other name takes no items but still has its first item
// selected. Nothing is cleared first, so each box is filled once, when its
// form loads.
void FillPickList(QComboBox *box, const ClassStructure &classes);

// Refills `armList` with the arms of the level named by `levelText` (letter
// case aside, nothing trimmed) and reselects the arm that was showing when the
// new level has one of exactly that name; otherwise nothing is selected. A
// text that names no level leaves the list untouched.
void FillClassArms(const QString &levelText, QComboBox *armList, const ClassStructure &classes);
