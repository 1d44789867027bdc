#include "platform/FirstEmptyBox.h"

#include "platform/Numbers.h"

#include <QLineEdit>

int FirstEmptyBox(const QList<QLineEdit *> &boxes, int count, int firstIndex, bool numericOnly)
{
    for (int i = firstIndex; i < firstIndex + count; ++i) {
        if (i < 0 || i >= boxes.size() || !boxes.at(i))
            continue;
        QLineEdit *box = boxes.at(i);
        const QString text = box->text().trimmed();
        if (text.isEmpty() || (numericOnly && !Numbers::isWholeNumberText(text))) {
            if (box->isVisible())
                box->setFocus(Qt::OtherFocusReason);
            return i;
        }
    }
    return -1;
}
