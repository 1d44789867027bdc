#include "RecordForm.h"
#include "classes/ReviseFees.h"
#include "classes/SelectFees.h"

#include <QLabel>
#include <QListWidget>
#include <QPointer>
#include <QTabWidget>
#include <QTextEdit>

// The money boxes, the field checks and the bill on the form.
class TestBilling : public RecordFormTest
{
    Q_OBJECT
private slots:
    void init()
    {
        start();
        QCOMPARE(sql(QStringLiteral("UPDATE Fees SET Tuition = 1500, Sports = 30 WHERE Class_Level = 'Primary1'")),
                 QString());
    }
    void cleanup() { finish(); }

    void workedExampleStepByStep();
    void rowShownUnderTheCaretMovesNoPayable();
    void billButtonPreparesTheSelection();
    void fieldChecks_data();
    void fieldChecks();
    void percentageNormalised_data();
    void percentageNormalised();
    void remarksKeysInsertDateAndTerm();
    void armsFollowTheLevel();

private:
    void addStudent(const QString &values)
    {
        const QString error = sql(QStringLiteral("INSERT INTO Student (Number, Surname, Other_Names, Class_Level, "
                                                 "Class_Arm, Address, Debt_From_Last_Term, Bill_This_Term, "
                                                 "Amount_Payable, Cummulative_Paid, Financial_Balance) VALUES ") +
                                  values);
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
    void openStudent(const QString &kind = QStringLiteral("Student"), bool granted = true)
    {
        openForm(kind, granted);
        w<QTabWidget>("SSTab1")->setCurrentIndex(AppState::isStockKind(kind) ? MenData::StockTab : MenData::StudentTab);
    }
    QString stored(const char *column) const
    {
        return sql(QStringLiteral("SELECT %1 FROM Student WHERE Number = 'S1'").arg(QLatin1String(column)));
    }
    // Opens the fee selection from the Bill button; `drive` answers it.
    void bill(std::function<void(QDialog *)> drive)
    {
        whenModalOpens(QStringLiteral("SelectFees"), std::move(drive));
        QTest::mouseClick(w("cmdBill"), Qt::LeftButton);
    }
    static void tick(QDialog *d, const char *fee, const char *button)
    {
        auto *list = widget<QListWidget>(d, "lstFees");
        list->findItems(QLatin1String(fee), Qt::MatchExactly).value(0)->setCheckState(Qt::Checked);
        QTest::mouseClick(widget<QPushButton>(d, button), Qt::LeftButton);
    }
};

// debt 200, payable 200, paid 0, balance -200; bill 1500; debt 300; paid 1000.
void TestBilling::workedExampleStepByStep()
{
    addStudent(QStringLiteral("('S1', 'Ade', 'Bola', 'Primary1', 'Blue', 'Palm Road', 200, NULL, 200, 0, -200)"));
    openStudent();
    click(9);
    // The computed boxes take no typing.
    QTest::mouseClick(w("txtPayable"), Qt::LeftButton);
    QTest::keyClicks(w("txtPayable"), QStringLiteral("99"));
    QTest::mouseClick(w<QPlainTextEdit>("txtBillThisTerm")->viewport(), Qt::LeftButton);
    QTest::keyClicks(w("txtBillThisTerm"), QStringLiteral("Free = 1"));
    QCOMPARE(shown("txtPayable") + shown("txtBillThisTerm"), QStringLiteral("200"));
    bill([](QDialog *d) { tick(d, "Tuition", "cmdOK"); });
    QCOMPARE(shown("txtBillThisTerm") + u'|' + shown("txtPayable") + u'|' + shown("txtFinancialBalance"),
             QStringLiteral("Tuition = 1500\n|1700|-1700"));
    type("txtDebt", QStringLiteral("300"));
    tab();
    QCOMPARE(shown("txtPayable") + u'|' + shown("txtFinancialBalance"), QStringLiteral("1800|-1800"));
    // Entering and leaving the debt again moves nothing.
    QTest::mouseClick(w("txtDebt"), Qt::LeftButton);
    tab();
    type("txtCummulativePaid", QStringLiteral("1000"));
    tab();
    QCOMPARE(shown("txtPayable") + u'|' + shown("txtFinancialBalance"), QStringLiteral("1800|-800"));
    click(10);
    QVERIFY(!form->editing());
    QCOMPARE(sql(QStringLiteral("SELECT Bill_This_Term, Debt_From_Last_Term, Amount_Payable, Cummulative_Paid, "
                                "Financial_Balance FROM Student")),
             QStringLiteral("Tuition = 1500\r\n|300|1800|1000|-800"));
    grabPng(form.get());
}

// A shortcut pressed in the debt box shows another row; leaving the box then
// must not move that row's payable by the difference of the two debts.
void TestBilling::rowShownUnderTheCaretMovesNoPayable()
{
    addStudent(QStringLiteral("('S0', 'Obi', 'Ada', 'Primary1', 'Blue', 'Palm Road', 500, NULL, 700, 0, -700), "
                              "('S1', 'Ade', 'Bola', 'Primary1', 'Blue', 'Palm Road', 200, NULL, 200, 0, -200)"));
    openStudent();
    QTest::mouseClick(w("txtDebt"), Qt::LeftButton);
    form->cmdActionClick(0);
    QCOMPARE(focused() + shown("txtDebt"), QStringLiteral("txtDebt500"));
    tab();
    QCOMPARE(shown("txtPayable"), QStringLiteral("700"));
}

// Caption and student set before the showing; the ticks come from the current
// bill; a cancelled selection changes nothing; both billing forms stay loaded,
// hidden, until the record form goes.
void TestBilling::billButtonPreparesTheSelection()
{
    addStudent(QStringLiteral("('S1', 'Ade', 'Bola Funmi', 'Primary1', 'Blue', 'Palm Road', 20, 'Sports = 30\r\n', 50, 10, -40)"));
    openStudent();
    click(9);
    QVERIFY(!form->findChild<SelectFees *>());
    auto money = [this] {
        QString all;
        for (const char *box : {"txtDebt", "txtBillThisTerm", "txtPayable", "txtAmountLastPaid", "txtCummulativePaid",
                                "txtFinancialBalance"})
            all += shown(box) + u'|';
        return all;
    };
    const QString before = money();
    QStringList seen;
    bill([&](QDialog *d) {
        seen << d->windowTitle() << widget<QLabel>(d, "lblWho")->text();
        auto *list = widget<QListWidget>(d, "lstFees");
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->checkState() == Qt::Checked)
                seen << list->item(i)->text();
        tick(d, "Tuition", "cmdCancel");
    });
    QCOMPARE(seen, (QStringList{"Select Fees for Primary1", "S1\r\nAde\r\nBola Funmi", "Sports"}));
    QCOMPARE(money(), before);
    QPointer<SelectFees> selection = form->findChild<SelectFees *>();
    QPointer<ReviseFees> schedule = form->findChild<ReviseFees *>();
    QVERIFY(selection && schedule && !selection->isVisible() && !schedule->isVisible());
    bill([](QDialog *d) { d->reject(); });
    QCOMPARE(form->findChildren<SelectFees *>().size(), 1);
    click(10);
    QCOMPARE(stored("Bill_This_Term"), QStringLiteral("Sports = 30\r\n"));
    form.reset();
    QVERIFY(!selection && !schedule);
}

void TestBilling::fieldChecks_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("field");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<bool>("leaves");
    QTest::newRow("surname emptied") << "Student" << "txtSurname" << "" << false;
    QTest::newRow("surname blanks") << "Student" << "txtSurname" << "   " << false;
    QTest::newRow("surname typed") << "Student" << "txtSurname" << "Okafor" << true;
    QTest::newRow("number emptied") << "Student" << "txtNumber" << "" << false;
    QTest::newRow("paid -5") << "Student" << "txtCummulativePaid" << "-5" << false;
    QTest::newRow("paid 0") << "Student" << "txtCummulativePaid" << "0" << true;
    QTest::newRow("paid grouped") << "Student" << "txtCummulativePaid" << "1,500" << false;
    QTest::newRow("debt abc") << "Student" << "txtDebt" << "abc" << false;
    QTest::newRow("debt -300") << "Student" << "txtDebt" << "-300" << true;
    QTest::newRow("last paid free") << "Student" << "txtAmountLastPaid" << "cheque" << true;
    QTest::newRow("price -1") << "Stock" << "txtLastPurchasePrice" << "-1" << false;
    QTest::newRow("price 12.5") << "Stock" << "txtLastPurchasePrice" << "12.5" << true;
    QTest::newRow("volume -2") << "Stock" << "txtVolAtHand" << "-2" << false;
    QTest::newRow("minimum x") << "Stock" << "txtMinimumVolToStock" << "x" << false;
    QTest::newRow("last volume -4") << "Stock" << "txtLastPurchaseVolume" << "-4" << false;
    QTest::newRow("stock number empty") << "Stock" << "txtStockNumber" << "" << false;
}

// A refused box keeps the focus against Tab and the mouse, runs no leaving
// computation, and lets go once mended.
void TestBilling::fieldChecks()
{
    QFETCH(QString, kind);
    QFETCH(QString, field);
    QFETCH(QString, typed);
    QFETCH(bool, leaves);
    const QByteArray name = field.toLatin1();
    const char *box = name.constData();
    addStudent(QStringLiteral("('S1', 'Ade', 'Bola', 'Primary1', 'Blue', 'Palm Road', 200, NULL, 200, 50, -150)"));
    sql(QStringLiteral("INSERT INTO Stock (Number, Material) VALUES ('K1', 'Chalk')"));
    openStudent(kind);
    click(9);
    if (!w(box)->isVisible())
        w<QTabWidget>("SSTab1")->setCurrentIndex(MenData::BasicTab);
    type(box, typed);
    tab();
    QCOMPARE(focused() != field, leaves);
    if (leaves)
        return;
    QCOMPARE(shown(box), typed);
    click(10); // nor does a click elsewhere take the focus away
    QCOMPARE(focused(), field);
    QCOMPARE(shown("txtPayable") + shown("txtFinancialBalance"), QLatin1String(kind == "Student" ? "200-150" : ""));
    type(box, QStringLiteral("10"));
    tab();
    QVERIFY(focused() != field);
    if (field == "txtCummulativePaid")
        QCOMPARE(shown("txtFinancialBalance"), QStringLiteral("-190"));
    if (field == "txtDebt")
        QCOMPARE(shown("txtPayable"), QStringLiteral("10"));
}

void TestBilling::percentageNormalised_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("shown");
    QTest::newRow("letter dropped") << "7a" << "7";
    QTest::newRow("fraction typed") << "7.5" << "7.5";
    QTest::newRow("point kept while typing") << "7." << "7.";
    QTest::newRow("zero after point") << "7.05" << "7.05";
    QTest::newRow("trailing zero of a fraction") << "7.50" << "7.50";
    QTest::newRow("several digits") << "85" << "85";
    QTest::newRow("emptied") << "" << "0";
    QTest::newRow("second point dropped") << "7.5.2" << "7.52";
}

void TestBilling::percentageNormalised()
{
    QFETCH(QString, typed);
    QFETCH(QString, shown);
    addStudent(QStringLiteral("('S1', 'Ade', 'Bola', 'Primary1', 'Blue', 'Palm Road', 0, NULL, 0, 0, 0)"));
    openStudent();
    click(9);
    QCOMPARE(this->shown("txtPercentage"), QStringLiteral("0")); // a row without one shows 0
    type("txtPercentage", typed);
    QCOMPARE(this->shown("txtPercentage"), shown);
    QCOMPARE(w<QLineEdit>("txtPercentage")->cursorPosition(), int(shown.size()));
}

void TestBilling::remarksKeysInsertDateAndTerm()
{
    addStudent(QStringLiteral("('S1', 'Ade', 'Bola', 'Primary1', 'Blue', 'Palm Road', 0, NULL, 0, 0, 0)"));
    sql(QStringLiteral("UPDATE Student SET Payment_History = 'paid XX by cheque'"));
    openStudent();
    click(9);
    auto *history = w<QTextEdit>("rtfPaymentHistory");
    QTest::mouseClick(history->viewport(), Qt::LeftButton);
    QTextCursor caret = history->textCursor(); // "XX" selected, replaced by the term
    caret.setPosition(5);
    caret.setPosition(7, QTextCursor::KeepAnchor);
    history->setTextCursor(caret);
    QTest::keyClick(history, Qt::Key_F6);
    QTest::keyClick(history, Qt::Key_End);
    QTest::keyClick(history, Qt::Key_Space);
    QTest::keyClick(history, Qt::Key_F5);
    // The other remarks boxes answer the same keys.
    auto *academic = w<QTextEdit>("rtfAcademicHistory");
    QTest::mouseClick(academic->viewport(), Qt::LeftButton);
    QTest::keyClick(academic, Qt::Key_F6);
    click(10);
    const QString term = p->state->classes.CurrentTerm;
    const QString day = QLocale::system().toString(QDate(2026, 3, 14), QLocale::ShortFormat);
    QCOMPARE(stored("Payment_History") + u'|' + stored("Academic_History"),
             QStringLiteral("paid ") + term + QStringLiteral(" by cheque ") + day + u'|' + term);
}

void TestBilling::armsFollowTheLevel()
{
    addStudent(QStringLiteral("('S1', 'Ade', 'Bola', 'Primary1', 'Red', 'Palm Road', 0, NULL, 0, 0, 0)"));
    openStudent();
    click(9);
    auto *arm = w<QComboBox>("cmbClassArm");
    QCOMPARE(shown("cmbClassLevel") + shown("cmbClassArm"), QStringLiteral("Primary1Red"));
    w("cmbClassLevel")->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(w("cmbClassLevel"), Qt::Key_Down);
    QTest::keyClick(w("cmbClassLevel"), Qt::Key_Tab);
    QCOMPARE(focused(), QStringLiteral("cmbClassArm"));
    QStringList offered;
    for (int i = 0; i < arm->count(); ++i)
        offered << arm->itemText(i);
    QCOMPARE(offered, (QStringList{"Blue", "Green"}));
}

QTEST_MAIN(TestBilling)
#include "tst_billing.moc"
