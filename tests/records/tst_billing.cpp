#include "Modal.h"
#include "TestProgram.h"
#include "classes/ReviseFees.h"
#include "classes/SelectFees.h"
#include "records/MenData.h"

#include <QApplication>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QTabWidget>
#include <QTest>
#include <QTextEdit>

// The money boxes, the field checks and the bill, driven as the operator
// drives them: click into a box, type, leave it with Tab.
class TestBilling : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void workedExampleStepByStep();
    void leavingTheDebt_data();
    void leavingTheDebt();
    void rowShownUnderTheCaretMovesNoPayable();
    void computedBoxesRefuseTyping();
    void cancelledSelectionChangesNothing();
    void billButtonPreparesTheSelection();
    void fieldChecks_data();
    void fieldChecks();
    void readOnlyBoxesNeverHoldTheFocus();
    void percentageNormalised_data();
    void percentageNormalised();
    void remarksKeysInsertDateAndTerm();
    void armsFollowTheLevel();

private:
    std::unique_ptr<TestProgram> p;
    std::unique_ptr<MenData> form;

    void addStudent(const QString &values);
    void openForm(const QString &kind = QStringLiteral("Student"), bool granted = true);
    QLineEdit *box(const char *name) const { return form->findChild<QLineEdit *>(QLatin1String(name)); }
    QString text(const char *name) const;
    void typeInto(QWidget *target, const QString &typed);
    void tab() { QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab); }
    void clickAction(int index)
    {
        QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("cmdAction(%1)").arg(index)), Qt::LeftButton);
    }
    QVariant stored(const char *column) const;
};

void TestBilling::init()
{
    p = std::make_unique<TestProgram>();
    p->writeTypicalIni();
    p->prepareState();
    QSqlQuery q(p->state->db());
    QVERIFY(q.exec(QStringLiteral("UPDATE Fees SET Tuition = 1500, Sports = 30 WHERE Class_Level = 'Primary1'")));
}

void TestBilling::cleanup()
{
    cancelPendingModals();
    form.reset();
    p.reset();
}

void TestBilling::addStudent(const QString &values)
{
    QSqlQuery q(p->state->db());
    QVERIFY2(q.exec(QStringLiteral("INSERT INTO Student (Number, Surname, Other_Names, Class_Level, Class_Arm, "
                                   "Address, Debt_From_Last_Term, Bill_This_Term, Amount_Payable, "
                                   "Cummulative_Paid, Financial_Balance) VALUES ") + values),
             qPrintable(q.lastError().text()));
}

void TestBilling::openForm(const QString &kind, bool granted)
{
    p->state->RecordKind = kind;
    form = std::make_unique<MenData>(*p->state);
    form->arrangeForOpener(granted);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    auto *tabs = form->findChild<QTabWidget *>(QStringLiteral("SSTab1"));
    tabs->setCurrentIndex(AppState::isStockKind(kind) ? MenData::StockTab : MenData::StudentTab);
}

QString TestBilling::text(const char *name) const
{
    if (QLineEdit *e = box(name))
        return e->text();
    if (auto *e = form->findChild<QPlainTextEdit *>(QLatin1String(name)))
        return e->toPlainText();
    return QStringLiteral("<no %1>").arg(QLatin1String(name));
}

void TestBilling::typeInto(QWidget *target, const QString &typed)
{
    // Back from the fee selection, as the window manager would bring it.
    if (!form->isActiveWindow()) {
        form->activateWindow();
        QVERIFY(QTest::qWaitForWindowActive(form.get()));
    }
    QTest::mouseClick(target, Qt::LeftButton);
    QTest::keyClick(target, Qt::Key_A, Qt::ControlModifier);
    if (typed.isEmpty())
        QTest::keyClick(target, Qt::Key_Delete);
    else
        QTest::keyClicks(target, typed);
}

QVariant TestBilling::stored(const char *column) const
{
    QSqlQuery q(p->state->db());
    q.exec(QStringLiteral("SELECT ") + QLatin1String(column) + QStringLiteral(" FROM Student WHERE Number = 'S1'"));
    return q.next() ? q.value(0) : QVariant(QStringLiteral("<no row>"));
}

// debt 200, payable 200, paid 0, balance -200; bill 1500; debt 300; paid 1000.
void TestBilling::workedExampleStepByStep()
{
    addStudent(QStringLiteral("('S1', 'Ade', 'Bola', 'Primary1', 'Blue', 'Palm Road', 200, NULL, 200, 0, -200)"));
    openForm();
    clickAction(9);
    whenModalOpens(QStringLiteral("SelectFees"), [](QDialog *d) {
        auto *list = d->findChild<QListWidget *>(QStringLiteral("lstFees"));
        list->findItems(QStringLiteral("Tuition"), Qt::MatchExactly).value(0)->setCheckState(Qt::Checked);
        QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmdOK")), Qt::LeftButton);
    });
    QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("cmdBill")), Qt::LeftButton);
    QCOMPARE(text("txtBillThisTerm"), QStringLiteral("Tuition = 1500\n"));
    QCOMPARE(text("txtPayable"), QStringLiteral("1700"));
    QCOMPARE(text("txtFinancialBalance"), QStringLiteral("-1700"));

    typeInto(box("txtDebt"), QStringLiteral("300"));
    tab();
    QCOMPARE(text("txtPayable"), QStringLiteral("1800"));
    QCOMPARE(text("txtFinancialBalance"), QStringLiteral("-1800"));

    typeInto(box("txtCummulativePaid"), QStringLiteral("1000"));
    tab();
    QCOMPARE(text("txtFinancialBalance"), QStringLiteral("-800"));
    QCOMPARE(text("txtPayable"), QStringLiteral("1800"));

    clickAction(10);
    QVERIFY(!form->editing());
    QCOMPARE(stored("Bill_This_Term").toString(), QStringLiteral("Tuition = 1500\r\n"));
    QCOMPARE(stored("Debt_From_Last_Term").toDouble(), 300.0);
    QCOMPARE(stored("Amount_Payable").toDouble(), 1800.0);
    QCOMPARE(stored("Cummulative_Paid").toDouble(), 1000.0);
    QCOMPARE(stored("Financial_Balance").toDouble(), -800.0);
    form->grab().save(QStringLiteral("/tmp/kolvane-student-bill.png"));
}

void TestBilling::leavingTheDebt_data()
{
    QTest::addColumn<QString>("debt");
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("payable");
    QTest::addColumn<QString>("balance");
    // Entering and leaving without a change moves nothing, decimals or not.
    QTest::newRow("unchanged") << "200" << QString() << "1700" << "-1200";
    QTest::newRow("unchanged decimals") << "100.5" << QString() << "1700" << "-1200";
    QTest::newRow("retyped decimals") << "100.5" << "100.5" << "1700" << "-1200";
    // A credit from last term lowers the payable.
    QTest::newRow("credit") << "200" << "-300" << "1200" << "-700";
    QTest::newRow("decimal change") << "100.5" << "101" << "1700.5" << "-1200.5";
}

void TestBilling::leavingTheDebt()
{
    QFETCH(QString, debt);
    QFETCH(QString, typed);
    QFETCH(QString, payable);
    QFETCH(QString, balance);
    addStudent(QStringLiteral("('S1', 'Ade', 'Bola', 'Primary1', 'Blue', 'Palm Road', %1, 'Tuition = 1500\r\n', 1700, 500, 0)")
                   .arg(debt));
    openForm();
    clickAction(9);
    if (typed.isNull())
        QTest::mouseClick(box("txtDebt"), Qt::LeftButton);
    else
        typeInto(box("txtDebt"), typed);
    tab();
    QVERIFY(QApplication::focusWidget() != box("txtDebt"));
    QCOMPARE(text("txtPayable"), payable);
    QCOMPARE(text("txtFinancialBalance"), balance);
}

// A shortcut pressed in the debt box shows another row; leaving the box then
// must not move that row's payable by the difference of the two debts.
void TestBilling::rowShownUnderTheCaretMovesNoPayable()
{
    addStudent(QStringLiteral("('S0', 'Obi', 'Ada', 'Primary1', 'Blue', 'Palm Road', 500, NULL, 700, 0, -700), "
                              "('S1', 'Ade', 'Bola', 'Primary1', 'Blue', 'Palm Road', 200, NULL, 200, 0, -200)"));
    openForm();
    QTest::mouseClick(box("txtDebt"), Qt::LeftButton);
    form->cmdActionClick(0);
    QCOMPARE(QApplication::focusWidget(), box("txtDebt"));
    QCOMPARE(text("txtDebt"), QStringLiteral("500"));
    tab();
    QCOMPARE(text("txtPayable"), QStringLiteral("700"));
}

void TestBilling::computedBoxesRefuseTyping()
{
    addStudent(QStringLiteral("('S1', 'Ade', 'Bola', 'Primary1', 'Blue', 'Palm Road', 200, 'Tuition = 1500\r\n', 1700, 0, -1700)"));
    openForm();
    clickAction(9);
    QTest::mouseClick(box("txtPayable"), Qt::LeftButton);
    QTest::keyClicks(box("txtPayable"), QStringLiteral("99"));
    auto *bill = form->findChild<QPlainTextEdit *>(QStringLiteral("txtBillThisTerm"));
    QTest::mouseClick(bill->viewport(), Qt::LeftButton);
    QTest::keyClicks(bill, QStringLiteral("Free = 1"));
    QCOMPARE(text("txtPayable"), QStringLiteral("1700"));
    QCOMPARE(text("txtBillThisTerm"), QStringLiteral("Tuition = 1500\n"));
    // The boxes show the button colour, apart from the boxes typed into.
    QCOMPARE(box("txtPayable")->palette().color(QPalette::Base), box("txtPayable")->palette().color(QPalette::Button));
    QCOMPARE(box("txtFinancialBalance")->palette().color(QPalette::Base),
             box("txtFinancialBalance")->palette().color(QPalette::Button));
    QVERIFY(box("txtDebt")->palette().color(QPalette::Base) != box("txtDebt")->palette().color(QPalette::Button));
}

void TestBilling::cancelledSelectionChangesNothing()
{
    addStudent(QStringLiteral("('S1', 'Ade', 'Bola', 'Primary1', 'Blue', 'Palm Road', 20, 'Sports = 30\r\n', 50, 10, -40)"));
    openForm();
    clickAction(9);
    const QStringList names = {"txtDebt", "txtBillThisTerm", "txtPayable", "txtAmountLastPaid", "txtCummulativePaid",
                               "txtFinancialBalance"};
    QStringList before;
    for (const QString &name : names)
        before << text(qPrintable(name));
    whenModalOpens(QStringLiteral("SelectFees"), [](QDialog *d) {
        auto *list = d->findChild<QListWidget *>(QStringLiteral("lstFees"));
        list->findItems(QStringLiteral("Tuition"), Qt::MatchExactly).value(0)->setCheckState(Qt::Checked);
        QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmdCancel")), Qt::LeftButton);
    });
    QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("cmdBill")), Qt::LeftButton);
    QStringList after;
    for (const QString &name : names)
        after << text(qPrintable(name));
    QCOMPARE(after, before);
    clickAction(10);
    QCOMPARE(stored("Bill_This_Term").toString(), QStringLiteral("Sports = 30\r\n"));
}

// Caption and student label set before the showing; the ticks come from the
// current bill; both billing forms stay loaded, hidden, until the record form goes.
void TestBilling::billButtonPreparesTheSelection()
{
    addStudent(QStringLiteral("('S1', 'Ade', 'Bola Funmi', 'Primary1', 'Blue', 'Palm Road', 0, 'Sports = 30\r\n', 30, 0, -30)"));
    openForm();
    QCOMPARE(form->findChild<QPushButton *>(QStringLiteral("cmdBill"))->text(), QStringLiteral("Bill this Term"));
    QVERIFY(!form->findChild<SelectFees *>());
    QString caption, who;
    QStringList ticked;
    whenModalOpens(QStringLiteral("SelectFees"), [&](QDialog *d) {
        caption = d->windowTitle();
        who = d->findChild<QLabel *>(QStringLiteral("lblWho"))->text();
        auto *list = d->findChild<QListWidget *>(QStringLiteral("lstFees"));
        for (int i = 0; i < list->count(); ++i)
            if (list->item(i)->checkState() == Qt::Checked)
                ticked << list->item(i)->text();
        d->grab().save(QStringLiteral("/tmp/kolvane-selectfees-from-record.png"));
        QTest::mouseClick(d->findChild<QPushButton *>(QStringLiteral("cmdCancel")), Qt::LeftButton);
    });
    QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("cmdBill")), Qt::LeftButton);
    QCOMPARE(caption, QStringLiteral("Select Fees for Primary1"));
    QCOMPARE(who, QStringLiteral("S1\r\nAde\r\nBola Funmi"));
    QCOMPARE(ticked, QStringList{"Sports"});

    QPointer<SelectFees> selection = form->findChild<SelectFees *>();
    QPointer<ReviseFees> schedule = form->findChild<ReviseFees *>();
    QVERIFY(selection && schedule);
    QVERIFY(!selection->isVisible() && !schedule->isVisible());
    // A second bill uses the same forms.
    whenModalOpens(QStringLiteral("SelectFees"), [](QDialog *d) { d->reject(); });
    QTest::mouseClick(form->findChild<QPushButton *>(QStringLiteral("cmdBill")), Qt::LeftButton);
    QCOMPARE(form->findChildren<SelectFees *>().size(), 1);
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
    QTest::newRow("paid spaced") << "Student" << "txtCummulativePaid" << "1 500" << true;
    QTest::newRow("debt abc") << "Student" << "txtDebt" << "abc" << false;
    QTest::newRow("debt empty") << "Student" << "txtDebt" << "" << false;
    QTest::newRow("debt -300") << "Student" << "txtDebt" << "-300" << true;
    QTest::newRow("debt grouped") << "Student" << "txtDebt" << "1,500" << false;
    QTest::newRow("debt exponent") << "Student" << "txtDebt" << "1.5e3" << true;
    QTest::newRow("last paid free") << "Student" << "txtAmountLastPaid" << "cheque" << true;
    QTest::newRow("price -1") << "Stock" << "txtLastPurchasePrice" << "-1" << false;
    QTest::newRow("price 12.5") << "Stock" << "txtLastPurchasePrice" << "12.5" << true;
    QTest::newRow("volume -2") << "Stock" << "txtVolAtHand" << "-2" << false;
    QTest::newRow("minimum x") << "Stock" << "txtMinimumVolToStock" << "x" << false;
    QTest::newRow("last volume 4") << "Stock" << "txtLastPurchaseVolume" << "4" << true;
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
    addStudent(QStringLiteral("('S1', 'Ade', 'Bola', 'Primary1', 'Blue', 'Palm Road', 200, NULL, 200, 50, -150)"));
    QSqlQuery q(p->state->db());
    QVERIFY(q.exec(QStringLiteral("INSERT INTO Stock (Number, Material) VALUES ('K1', 'Chalk')")));
    openForm(kind);
    clickAction(9);
    QLineEdit *target = box(qPrintable(field));
    QVERIFY(target);
    if (!target->isVisible())
        form->findChild<QTabWidget *>(QStringLiteral("SSTab1"))->setCurrentIndex(MenData::BasicTab);
    typeInto(target, typed);
    tab();
    QCOMPARE(QApplication::focusWidget() != target, leaves);
    if (leaves)
        return;
    QCOMPARE(target->text(), typed);
    // Nor does a click elsewhere take the focus away.
    clickAction(10);
    QCOMPARE(QApplication::focusWidget(), target);
    if (kind == QLatin1String("Student")) {
        QCOMPARE(text("txtPayable"), QStringLiteral("200"));
        QCOMPARE(text("txtFinancialBalance"), QStringLiteral("-150"));
    }
    typeInto(target, QStringLiteral("10"));
    tab();
    QVERIFY(QApplication::focusWidget() != target);
    if (field == QLatin1String("txtCummulativePaid"))
        QCOMPARE(text("txtFinancialBalance"), QStringLiteral("-190"));
    if (field == QLatin1String("txtDebt"))
        QCOMPARE(text("txtPayable"), QStringLiteral("10"));
}

// A read-only form cannot mend a box, so no box may keep the focus.
void TestBilling::readOnlyBoxesNeverHoldTheFocus()
{
    addStudent(QStringLiteral("('S1', '', 'Bola', 'Primary1', 'Blue', 'Palm Road', NULL, NULL, 200, 0, -200)"));
    openForm(QStringLiteral("Student"), false);
    QTest::mouseClick(box("txtDebt"), Qt::LeftButton);
    QCOMPARE(QApplication::focusWidget(), box("txtDebt"));
    tab();
    QVERIFY(QApplication::focusWidget() != box("txtDebt"));
    QCOMPARE(text("txtPayable"), QStringLiteral("200"));
    QVERIFY(!form->findChild<QPushButton *>(QStringLiteral("cmdBill"))->isEnabled());
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
    openForm();
    clickAction(9);
    QLineEdit *percentage = box("txtPercentage");
    // A row without a percentage shows 0.
    QCOMPARE(percentage->text(), QStringLiteral("0"));
    typeInto(percentage, typed);
    QCOMPARE(percentage->text(), shown);
    QCOMPARE(percentage->cursorPosition(), int(shown.size()));
}

void TestBilling::remarksKeysInsertDateAndTerm()
{
    addStudent(QStringLiteral("('S1', 'Ade', 'Bola', 'Primary1', 'Blue', 'Palm Road', 0, NULL, 0, 0, 0)"));
    QSqlQuery q(p->state->db());
    QVERIFY(q.exec(QStringLiteral("UPDATE Student SET Payment_History = 'paid XX by cheque'")));
    openForm();
    clickAction(9);
    auto *history = form->findChild<QTextEdit *>(QStringLiteral("rtfPaymentHistory"));
    QTest::mouseClick(history->viewport(), Qt::LeftButton);
    // Select "XX" and replace it with the term.
    QTextCursor caret = history->textCursor();
    caret.setPosition(5);
    caret.setPosition(7, QTextCursor::KeepAnchor);
    history->setTextCursor(caret);
    QTest::keyClick(history, Qt::Key_F6);
    const QString term = p->state->classes.CurrentTerm;
    QVERIFY(term.startsWith(QStringLiteral("Second Term_2026/2027")));
    QCOMPARE(history->toPlainText(), QStringLiteral("paid ") + term + QStringLiteral(" by cheque"));
    QTest::keyClick(history, Qt::Key_End);
    QTest::keyClick(history, Qt::Key_Space);
    QTest::keyClick(history, Qt::Key_F5);
    const QString day = QLocale::system().toString(QDate(2026, 3, 14), QLocale::ShortFormat);
    QVERIFY2(history->toPlainText().endsWith(QStringLiteral("cheque ") + day), qPrintable(history->toPlainText()));

    // The other remarks boxes answer the same keys.
    auto *academic = form->findChild<QTextEdit *>(QStringLiteral("rtfAcademicHistory"));
    QTest::mouseClick(academic->viewport(), Qt::LeftButton);
    QTest::keyClick(academic, Qt::Key_F6);
    QCOMPARE(academic->toPlainText(), term);

    clickAction(10);
    QCOMPARE(stored("Payment_History").toString(), QStringLiteral("paid ") + term + QStringLiteral(" by cheque ") + day);
    QCOMPARE(stored("Academic_History").toString(), term);
}

void TestBilling::armsFollowTheLevel()
{
    addStudent(QStringLiteral("('S1', 'Ade', 'Bola', 'Primary1', 'Red', 'Palm Road', 0, NULL, 0, 0, 0)"));
    openForm();
    clickAction(9);
    auto *level = form->findChild<QComboBox *>(QStringLiteral("cmbClassLevel"));
    auto *arm = form->findChild<QComboBox *>(QStringLiteral("cmbClassArm"));
    QCOMPARE(level->currentText(), QStringLiteral("Primary1"));
    QCOMPARE(arm->currentText(), QStringLiteral("Red"));
    level->setFocus(Qt::MouseFocusReason);
    QTest::keyClick(level, Qt::Key_Down);
    QCOMPARE(level->currentText(), QStringLiteral("Primary2"));
    QTest::keyClick(level, Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), arm);
    QStringList offered;
    for (int i = 0; i < arm->count(); ++i)
        offered << arm->itemText(i);
    QCOMPARE(offered, (QStringList{"Blue", "Green"}));
}

QTEST_MAIN(TestBilling)
#include "tst_billing.moc"
