#pragma once

#include "accounts/Ledger.h"

#include <QDialog>
#include <QList>

class AppState;
class FieldChecks;
class QDateEdit;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QRadioButton;
class QStackedWidget;

// The ledger of the school's other income and purchases, set against the
// students' fees, with its printout. Two views alternate: the list of
// transactions and the entry of one.
class Accounts : public QDialog
{
    Q_OBJECT
public:
    enum Command { Add, Edit, Delete, DeleteAll, Print };

    explicit Accounts(AppState &state, QWidget *parent = nullptr);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;

private:
    void buildTransactionView();
    void buildEntryView();
    void buildSummary();
    void loadLedger();

    void cmdAccountsClick(int index);
    void editSelected();
    void deleteSelected();
    void deleteAll();
    void printLedger();
    void okClick();
    void cancelClick();

    QListWidgetItem *selectedLine() const;
    void appendLine(const LedgerEntry &entry);
    void ComputeLedgerTotals();
    void showLedgerTotals();
    void showEntryView(bool entry);
    bool amountAcceptable() const;
    bool goodAcceptable() const;

    AppState &m_state;
    Ledger m_ledger;
    QString m_mode;
    qint64 m_editingId = 0;
    LedgerTotals m_totals;

    QStackedWidget *m_views;
    QGroupBox *m_frameTransaction;
    QListWidget *m_list;
    QList<QPushButton *> m_cmdAccounts;
    QGroupBox *m_frameInput;
    QDateEdit *m_date;
    QLineEdit *m_good;
    QLineEdit *m_amount;
    QRadioButton *m_toSchool;
    QRadioButton *m_bySchool;
    QPushButton *m_ok;
    QPushButton *m_cancel;
    QGroupBox *m_frameSummary;
    QList<QLabel *> m_lblWhat;
    QList<QLabel *> m_lblBalance;
    FieldChecks *m_checks;
};
