#include "records/BoxRules.h"

#include "platform/Numbers.h"
#include "records/StudentMoney.h"

#include <QRegularExpression>

namespace {

const QStringList required = {QStringLiteral("txtNumber"), QStringLiteral("txtSurname"),
                              QStringLiteral("txtAddress"), QStringLiteral("txtStockNumber"),
                              QStringLiteral("txtMaterial")};
const QStringList amounts = {QStringLiteral("txtCummulativePaid"),
                             QStringLiteral("txtLastPurchasePrice"), QStringLiteral("txtVolAtHand"),
                             QStringLiteral("txtMinimumVolToStock"),
                             QStringLiteral("txtLastPurchaseVolume")};
const QString debt = QStringLiteral("txtDebt");

} // namespace

QStringList BoxRules::checkedBoxes()
{
    return required + QStringList{debt} + amounts;
}

bool BoxRules::accepts(const QString &box, const QString &text)
{
    if (required.contains(box))
        return !text.trimmed().isEmpty();
    if (box == debt)
        return StudentMoney::isDebt(text);
    if (amounts.contains(box))
        return StudentMoney::isAmount(text);
    return true;
}

QString BoxRules::percentageText(const QString &text)
{
    QString wanted = Numbers::numberText(Numbers::readNumber(text));
    // A point, and zeros after it, typed at the end stay while a fraction is typed.
    const QString typed = text.trimmed();
    if (typed.startsWith(wanted) && !wanted.contains(u'E')) {
        static const QRegularExpression afterWhole(QStringLiteral("^\\.0*$"));
        static const QRegularExpression afterFraction(QStringLiteral("^0+$"));
        const QString rest = typed.mid(wanted.size());
        if (!rest.isEmpty() &&
            (wanted.contains(u'.') ? afterFraction : afterWhole).match(rest).hasMatch())
            wanted = typed;
    }
    return wanted;
}
