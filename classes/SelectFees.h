#pragma once

#include <QDialog>
#include <QList>
#include <QStringList>

class AppState;
class FieldChecks;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

// What the fee selection reads from and writes back into the record form.
class BillTarget
{
public:
    virtual ~BillTarget() = default;
    virtual QString classLevelText() const = 0;
    virtual QString billText() const = 0;
    virtual void setBillText(const QString &text) = 0;
    virtual QString debtText() const = 0;
    virtual void setPayableText(const QString &text) = 0;
    // Recomputes the balance from the paid amount and the new payable.
    virtual void payableLostFocus() = 0;
};

// Ticks the fee items that apply to one student and composes the bill.
// Hidden, not destroyed, by OK and Cancel: it is prepared again for the next
// bill by MyActivate.
class SelectFees : public QDialog
{
    Q_OBJECT
public:
    SelectFees(AppState &state, BillTarget &target, QWidget *parent = nullptr);

    // Prepares the list for the target's class level and current bill.
    void MyActivate();

    // The student billed, on three lines.
    void setWho(const QString &text);

    // Whether the amounts shown belong to the level last prepared.
    bool hasAmounts() const { return m_amountsFound; }

private:
    void cmdOKClick();

    AppState &m_state;
    BillTarget &m_target;
    QStringList m_names;
    QList<qint32> m_amounts;
    bool m_amountsFound = false;
    QListWidget *m_list;
    QLabel *m_who;
    QLineEdit *m_custom;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    FieldChecks *m_checks;
};
