#pragma once

#include "classes/ClassStructure.h"

#include <QString>
#include <QStringList>
#include <optional>

// What the pick lists hold. The record form and the query form name their
// boxes alike, so a box's name says which list it takes.
namespace PickListItems {

const QStringList &sexes();
const QStringList &states();
const QStringList &maritalStatuses();
const QStringList &serviceStatuses();

// The items for the box named `boxName`, in the order they are added: the
// fixed lists, or for "cmbClassLevel" the levels in use in `classes`. Any
// other name takes no items.
QStringList forBox(const QString &boxName, const ClassStructure &classes);

// The arms of the level whose name equals `levelText` without regard to
// letter case (nothing trimmed), arm 1 first. No value when the text names
// no level; an empty list for a level without arms.
std::optional<QStringList> armsOfLevel(const QString &levelText, const ClassStructure &classes);

} // namespace PickListItems
