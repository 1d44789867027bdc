#include "records/StudentMoney.h"

#include "platform/Numbers.h"

void StudentMoney::rememberDebt(const QString &debtText)
{
    m_debtAtFocus = Numbers::readNumber(debtText);
}

QString StudentMoney::payableAfterDebt(const QString &debtText, const QString &payableText) const
{
    return Numbers::numberText(Numbers::readNumber(debtText) - m_debtAtFocus +
                               Numbers::readNumber(payableText));
}

QString StudentMoney::balance(const QString &paidText, const QString &payableText)
{
    return Numbers::numberText(Numbers::readNumber(paidText) - Numbers::readNumber(payableText));
}

bool StudentMoney::isDebt(const QString &text)
{
    return Numbers::isWholeNumberText(text);
}

bool StudentMoney::isAmount(const QString &text)
{
    return Numbers::isWholeNumberText(text) && Numbers::readNumber(text) >= 0;
}
