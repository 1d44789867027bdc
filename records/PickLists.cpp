#include "records/PickLists.h"

#include "records/PickListItems.h"

#include <QComboBox>

void FillPickList(QComboBox *box, const ClassStructure &classes)
{
    if (!box)
        return;
    const QStringList items = PickListItems::forBox(box->objectName(), classes);
    box->addItems(items);
    if (box->count() > 0)
        box->setCurrentIndex(0);
}

void FillClassArms(const QString &levelText, QComboBox *armList, const ClassStructure &classes)
{
    if (!armList)
        return;
    const QString remembered = armList->currentText();
    const std::optional<QStringList> arms = PickListItems::armsOfLevel(levelText, classes);
    if (arms) {
        armList->clear();
        armList->addItems(*arms);
        // Adding to an empty box selects its first item; the arm is chosen below.
        armList->setCurrentIndex(-1);
    }
    for (int i = 0; i < armList->count(); ++i) {
        if (armList->itemText(i) == remembered) {
            armList->setCurrentIndex(i);
            return;
        }
    }
}
