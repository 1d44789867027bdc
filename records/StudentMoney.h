#pragma once

#include <QString>

// The money of a student's row without the boxes that show it: the debt
// remembered when its box is entered, the payable moved by exactly what was
// typed there, the balance, and the bill as composed.
class StudentMoney
{
public:
    // The debt now shown: its box entered, or another row shown under the caret.
    void rememberDebt(const QString &debtText);
    // The payable once the debt box is left: moved only by what the debt
    // changed since it was remembered.
    QString payableAfterDebt(const QString &debtText, const QString &payableText) const;
    // What was paid less what is payable.
    static QString balance(const QString &paidText, const QString &payableText);

    // Leaving a box computes only when it passes its check. A debt is any
    // number (below zero, a credit); an amount (paid, a price, a volume) is
    // not below zero. Grouped text such as 1,500 is refused: it would read as 1.
    static bool isDebt(const QString &text);
    static bool isAmount(const QString &text);

    // The bill as composed, CR LF kept; its box shows plain line breaks.
    const QString &bill() const { return m_bill; }
    void setBill(const QString &text) { m_bill = text; }

private:
    double m_debtAtFocus = 0;
    QString m_bill;
};
