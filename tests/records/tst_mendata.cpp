#include "Pdf.h"
#include "RecordForm.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QTabBar>
#include <QTabWidget>
#include <QTextEdit>
#include <QWheelEvent>
#include <QWindow>

using namespace Qt::StringLiterals;

// The record form driven through its buttons, then checked against the table,
// the printed bill read back from its PDF.
class TestMenData : public RecordFormTest
{
    Q_OBJECT
private slots:
    void init() { start(); }
    void cleanup() { finish(); }

    void browseFindTransferAndDelete();
    void editNewAbortAndClose();
    void workedExampleStepByStep();

private:
    // A student of Primary1 Blue, then `set` ("Column = value, ...") over it.
    void addStudent(const QString &number, const QString &surname, const QString &set = {})
    {
        const QString quoted = QString(number).replace(u'\'', u"''"_s);
        QCOMPARE(sql(u"INSERT INTO Student (Number, Surname, Other_Names, Sex, Class_Level, "
                     "Class_Arm, Debt_From_Last_Term, Address) VALUES ('%1', '%2', 'Ada', "
                     "'Female', 'Primary1', 'Blue', 1500.5, '12 Palm Road\nIbadan')"_s.arg(
                         quoted, surname)),
                 QString());
        if (!set.isEmpty())
            QCOMPARE(sql(u"UPDATE Student SET %1 WHERE Number = '%2'"_s.arg(set, quoted)),
                     QString());
    }
    int rows(const QString &table) { return sql(u"SELECT count(*) FROM "_s + table).toInt(); }
    // One notch of the wheel where the pointer rests over the widget.
    void wheel(QWidget *over)
    {
        const QPoint at = over->mapTo(form.get(), over->rect().center());
        QWheelEvent notch(at, over->mapToGlobal(over->rect().center()), {}, {0, -120}, Qt::NoButton,
                          {}, Qt::NoScrollPhase, false);
        QApplication::sendEvent(form->windowHandle(), &notch);
    }
    // Only the kind's tabs show, and Ctrl+Tab and the wheel pass over the others.
    void onlyTabs(const QStringList &tabs)
    {
        auto *tabWidget = w<QTabWidget>("SSTab1");
        QStringList visible;
        for (int i = 0; i < tabWidget->count(); ++i)
            if (tabWidget->isTabVisible(i))
                visible << tabWidget->tabText(i);
        QCOMPARE(visible, tabs);
        for (int i = 0; i < 4; ++i) {
            QTest::keyClick(tabWidget, Qt::Key_Tab,
                            i % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
            wheel(tabWidget->tabBar());
            const QString current = tabWidget->tabText(tabWidget->currentIndex());
            QVERIFY2(tabs.contains(current), qPrintable(current));
        }
    }
    // Ticks `fee` in the fee selection and leaves it by `button`.
    static void tick(QDialog *d, const char *fee, const char *button)
    {
        clickLine(widget<QListWidget>(d, "lstFees"), QLatin1String(fee));
        ::click(d, button);
    }
    // Update refused: the caret in the field to mend, the reason in the form's
    // words (or none), still editing, nothing stored.
    void refused(const QString &caretIn, const QString &message = {})
    {
        const int before = rows(p->state->RecordKind);
        p->messages.clear();
        click(10);
        QCOMPARE(focused(), caretIn);
        QCOMPARE(p->messages.texts(), message.isEmpty() ? QStringList{} : QStringList{message});
        QVERIFY(form->editing());
        QCOMPARE(rows(p->state->RecordKind), before);
    }
};

// Browsing: the last row first, Next on the last and Previous on the first stay
// where they are; Find takes the number trimmed, quotes and wildcards as plain
// letters, in any letter case, and moves the cursor so that Next goes on from
// the row found; a missing or empty number moves nothing. Then Send to Alumni
// and Delete ask twice, Yes to the first question cancelling; the transfer
// copies the row whole and removes it, or, refused, keeps it.
void TestMenData::browseFindTransferAndDelete()
{
    // Primary1 has Blue and Red; a sex not stored shows as Female.
    addStudent(u"X'1%_"_s, u"Quote"_s,
               u"Debt_From_Last_Term = NULL, Remarks = 'Quote remarks', Bill_This_Term = 'Books = 5'"_s);
    addStudent(u"2003/045"_s, u"Okafor"_s);
    addStudent(u"2003/046"_s, u"Bello"_s, u"Sex = NULL"_s);
    addStudent(u"N4"_s, u"Adeyemi"_s,
               u"Class_Arm = 'Gold', Sex = 'Male', Address = '4 Marina' || char(10) || 'Lagos'"_s);
    openForm();
    QCOMPARE(w<QGroupBox>("Frame2")->title(), u"Initial total records = 4"_s);
    onlyTabs({"Basic_Data", "Student_Data"});
    // Money as plain number text; line breaks kept.
    QCOMPARE(shown("txtDebt|txtAddress"), u"1500.5|4 Marina\nLagos"_s);
    // An arm no longer in the class structure is listed and selected.
    auto *arms = w<QComboBox>("cmbClassArm");
    QCOMPARE(arms->itemText(arms->count() - 1) + arms->currentText(), u"GoldGold"_s);
    // Browsing turns no list; the remarks and the bill are there.
    w<QTabWidget>("SSTab1")->setCurrentIndex(MenData::BasicTab);
    QTest::mouseClick(w("cmbSex"), Qt::LeftButton);
    QTest::keyClick(w("cmbSex"), Qt::Key_Down);
    QCOMPARE(shown("cmbSex"), u"Male"_s);
    QVERIFY(!w("rtfStudentRemarks")->isHidden() && w("cmdBill")->isEnabled());

    const QList<std::pair<QString, QString>> steps = {
        {"3", "Adeyemi|Male"}, {"0", "Quote|Female"},
        {"2", "Quote|Female"}, {"3", "Okafor|Female"},
        {"1", "Adeyemi|Male"}, {"find 9999", "Adeyemi|Male"},
        {"refused 6", "Adeyemi|Male"}, {"refused 24", "Adeyemi|Male"},
        {"refused 9", "Adeyemi|Male"}, {"3", "Adeyemi|Male"}, {"find   2003/045 ", "Okafor|Female"},
        {"3", "Bello|Female"}, {"find    ", "Bello|Female"},
        {"3", "Adeyemi|Male"}, {"find x'1%_", "Quote|Female"}};
    for (const auto &[step, after] : steps) {
        if (step.startsWith(u"find "_s)) {
            fill({u"txtGoTo="_s + step.mid(5)});
            QTest::keyClick(w("txtGoTo"), Qt::Key_Return); // Enter acts as Find Number
            QVERIFY2(shown("txtGoTo").trimmed().isEmpty(), "the number looked for stays");
        } else if (step.startsWith(u"refused "_s)) {
            // After a Find that found nothing the cursor has no row: Delete,
            // Send to Alumni and Edit say so, ask nothing, change nothing.
            p->messages.clear();
            click(step.mid(8).toInt());
            QCOMPARE(p->messages.texts(), QStringList{u"There is no current row."_s});
            QVERIFY(!form->editing());
            QCOMPARE(rows(u"Student"_s), 4);
        } else {
            click(step.toInt());
        }
        QVERIFY2(shown("txtSurname|cmbSex") == after, qPrintable(step));
    }
    QCOMPARE(form->windowTitle(), u"Student Data Entry : Number X'1%_"_s);

    // No box can be mended while browsing: none holds the caret though it
    // fails its check (the paid box is empty, a box that took typing would hold
    // it), and leaving the debt box computes nothing.
    // The boxes of the page not shown follow the rows too: each page, clicked,
    // shows the row now on show.
    const auto page = [this](int index) {
        QTabBar *bar = w<QTabWidget>("SSTab1")->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, {}, bar->tabRect(index).center());
    };
    page(MenData::StudentTab);
    QCOMPARE(w<QTextEdit>("rtfStudentRemarks")->toPlainText() + u'|' +
                 w<QPlainTextEdit>("txtBillThisTerm")->toPlainText(),
             u"Quote remarks|Books = 5"_s);
    QTest::mouseClick(w("txtCummulativePaid"), Qt::LeftButton);
    tab();
    QVERIFY(focused() != u"txtCummulativePaid"_s);
    QTest::mouseClick(w("txtDebt"), Qt::LeftButton);
    tab();
    QCOMPARE(shown("txtPayable|txtFinancialBalance"), u"|"_s);

    click(1);
    page(MenData::BasicTab);
    QCOMPARE(shown("txtSurname|txtAddress"), u"Adeyemi|4 Marina\nLagos"_s);
    const QString last = sql(u"SELECT * FROM Student WHERE Number = 'N4'"_s);
    sql(u"CREATE TRIGGER refuse BEFORE INSERT ON FormerStudent "
        "BEGIN SELECT RAISE(ABORT, 'former records are full'); END"_s);
    const QStringList transfer = {"Cancel irrevocable transfer to Alumni records?",
                                  "Are you double sure you want to Transfer?"};
    const auto answered = [this](int button, QList<MessageBoxes::Button> answers) {
        p->messages.clear();
        for (MessageBoxes::Button answer : answers)
            p->messages.setNextAnswer(answer);
        click(button);
        return p->messages.texts();
    };
    QCOMPARE(answered(24, {MessageBoxes::Yes}), transfer.mid(0, 1));
    // Refused by the engine: the questions, then its words.
    const QStringList said = answered(24, {MessageBoxes::No, MessageBoxes::Yes});
    QVERIFY2(said.size() == 3 && said.at(2).contains(u"former records are full"_s),
             qPrintable(said.join(u'|')));
    QCOMPARE(rows(u"Student"_s), 4);
    QCOMPARE(shown("txtSurname"), u"Adeyemi"_s);

    sql(u"DROP TRIGGER refuse"_s);
    QCOMPARE(answered(24, {MessageBoxes::No, MessageBoxes::Yes}), transfer);
    QCOMPARE(rows(u"Student"_s), 3);
    QCOMPARE(sql(u"SELECT * FROM FormerStudent"_s), last);
    QCOMPARE(shown("txtSurname"), u"Quote"_s); // after the last row, the first

    QCOMPARE(answered(6, {MessageBoxes::No, MessageBoxes::Yes}),
             (QStringList{"Cancel Deletion?", "Are you double sure you want to Delete?"}));
    QCOMPARE(sql(u"SELECT group_concat(Surname) FROM Student"_s), u"Okafor,Bello"_s);
    QCOMPARE(shown("txtSurname"), u"Okafor"_s);
}

// Edit, New and Abort, Update storing what was typed and the rest exactly as
// read, the wheel, closing while editing; then New refused for each kind.
void TestMenData::editNewAbortAndClose()
{
    sql(u"INSERT INTO Student (Number, Surname, Address) VALUES ('N0', 'First', 'x')"_s);
    addStudent(u"N1"_s, u"Okafor"_s,
               u"State_Of_Origin = 'Ghana', Picture = 'mensah.gif', Address = 'a' || char(13, "
               "10) || 'b' || char(13) || 'c', Other_Names = 'Ada' || char(160) || 'Obi', Remarks "
               "= 'x' || char(13, 10) || 'y', Next_Of_Kin = printf('%.40000c', 'k'), "
               "Financial_Balance = 9e999"_s);
    openForm();
    const QString photo = form->photoPath();
    // Abort after Edit brings back what was shown, a state typed as free text
    // and the photo path too, and stores nothing.
    click(9);
    fill({"txtSurname=Changed"});
    w<QComboBox>("cmbState")->setEditText(u"Lagos"_s);
    form->setPhotoPath(p->file(u"Pictures/FrontView/other.gif"_s), false);
    click(11);
    QCOMPARE(shown("txtSurname|cmbState"), u"Okafor|Ghana"_s);
    QCOMPARE(form->photoPath(), photo);
    QCOMPARE(sql(u"SELECT Surname FROM Student WHERE Number = 'N1'"_s), u"Okafor"_s);

    // New empties every box, dates today; Abort shows the row shown before.
    click(0);
    click(8);
    QCOMPARE(shown("txtSurname|txtDebt|cmbSex") + form->photoPath(), u"||Male"_s);
    for (const char *picker : {"dtpBirthday", "dtpEnlisted"})
        QCOMPARE(w<QDateEdit>(picker)->date(), QDate(2026, 3, 14));
    QVERIFY(w("Frame4")->isVisible() && !w("Frame2")->isVisible());
    QTest::keyClicks(w("txtSurname"), u"Ghost"_s);
    click(11);
    QCOMPARE(shown("txtSurname"), u"First"_s);
    QCOMPARE(rows(u"Student"_s), 2);
    // Null fields show as empty, never carrying the row shown before, and stay null.
    click(9);
    click(10);
    QCOMPARE(
        sql(u"SELECT coalesce(Other_Names, Remarks, Next_Of_Kin, Birthday, ''), "
            "typeof(Debt_From_Last_Term), Date_Last_Updated FROM Student WHERE Number = 'N0'"_s),
        u"|null|2026-03-14"_s);

    // Update stores what was typed, the photo by its name in small letters, a
    // number box the number its check read, a date typed on leaving its picker
    // (a day the month lacks is no date), and the rest exactly as read.
    click(1);
    click(9);
    fill({"txtSurname=Eze", "txtDebt=1D3", "txtCummulativePaid=1 500", "dtpBirthday=31/02/2015"});
    tab();
    QCOMPARE(focused(), u"dtpEnlisted"_s);
    QTest::keyClicks(w("dtpEnlisted"), u"4.3.2015"_s);
    tab();
    form->setPhotoPath(p->file(u"Pictures/FrontView/Ade.GIF"_s), false);
    click(10);
    QCOMPARE(
        sql(u"SELECT Surname, Picture, State_Of_Origin, Address = 'a' || "
            "char(13, 10) || 'b' || char(13) || 'c', Other_Names = 'Ada' || char(160) || 'Obi', "
            "Remarks = 'x' || char(13, 10) || 'y', Next_Of_Kin = printf('%.40000c', 'k'), "
            "Financial_Balance = 9e999, Class_Arm, Sex, Percentage_Last_Term, "
            "Debt_From_Last_Term, Cummulative_Paid, typeof(Cummulative_Paid), Birthday, "
            "Date_Enlisted FROM Student WHERE Number = 'N1'"_s),
        u"Eze|ade.gif|Ghana|1|1|1|1|1|Blue|Female||1000|1500|real||2015-03-04"_s);

    // The wheel turns a list only once the operator is in it.
    click(9);
    auto *tabs = w<QTabWidget>("SSTab1");
    tabs->setCurrentIndex(MenData::StudentTab);
    wheel(w("cmbClassLevel"));
    QCOMPARE(shown("cmbClassLevel"), u"Primary1"_s);
    QTest::mouseClick(w("cmbClassLevel"), Qt::LeftButton);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    wheel(w("cmbClassLevel"));
    QCOMPARE(shown("cmbClassLevel"), u"Primary2"_s);
    // The arms follow the level, offered on entering the arm list.
    tab();
    QCOMPARE(focused(), u"cmbClassArm"_s);
    auto *arms = w<QComboBox>("cmbClassArm");
    QCOMPARE(arms->itemText(0) + arms->itemText(1) + QString::number(arms->count()),
             u"BlueGreen2"_s);
    // A failing check holds against the wheel on the tab bar.
    tabs->setCurrentIndex(MenData::BasicTab);
    fill({"txtSurname="});
    wheel(tabs->tabBar());
    QCOMPARE(tabs->currentIndex(), int(MenData::BasicTab));
    QCOMPARE(focused(), u"txtSurname"_s);
    grabPng(form.get());

    // Closing while editing asks: Cancel stays in editing, No drops the
    // change (Yes stores it: the stock walk).
    fill({"txtSurname=Obi"});
    p->messages.clear();
    p->messages.setNextAnswer(MessageBoxes::Cancel);
    QVERIFY(!form->close());
    QCOMPARE(p->messages.texts(), QStringList{"Store the changes to N1?"});
    QVERIFY(form->isVisible() && form->editing());
    p->messages.setNextAnswer(MessageBoxes::No);
    QVERIFY(form->close());
    QCOMPARE(sql(u"SELECT Surname, Class_Level FROM Student WHERE Number = 'N1'"_s),
             u"Eze|Primary1"_s);

    // New, then Update refused until each fault is mended, for each kind; every
    // binding of a kind names a column of its table and no other table's.
    openForm();
    click(8);
    refused(u"txtNumber"_s);
    fill({"txtNumber=n1"});
    refused(u"txtSurname"_s);
    fill({"txtSurname=Twin", "txtAmountLastPaid=1e999"});
    refused(u"txtAddress"_s);
    fill({"txtAddress=Jos"});
    refused(u"txtAmountLastPaid"_s, u"Amount Last Paid must be a number."_s);
    fill({"txtAmountLastPaid="});
    refused(u"cmdAction(10)"_s, u"A Student with the number n1 already exists."_s);
    w<QTabWidget>("SSTab1")->setCurrentIndex(MenData::BasicTab);
    fill({"txtNumber=N2"});
    sql(u"PRAGMA query_only = ON"_s);
    refused(u"cmdAction(10)"_s, u"The database cannot be written by this user: nothing was "
                                "stored.\r\nattempt to write a readonly database"_s);
    sql(u"PRAGMA query_only = OFF"_s);
    click(10);
    QCOMPARE(rows(u"Student"_s), 3);

    openForm(u"Staff"_s);
    QVERIFY2(w("cmdAction(24)")->isVisible(), "staff cannot be sent to Alumni");
    click(8);
    fill({"txtNumber=ST-1", "txtSurname=Eze", "txtAddress=Jos", "txtMonthlySalary=250.5"});
    click(10);
    QCOMPARE(sql(u"SELECT Number, Monthly_Salary FROM Staff"_s), u"ST-1|250.5"_s);

    // A kind without rows opens empty and says nothing.
    p->messages.clear();
    openForm(u"Stock"_s);
    QCOMPARE(w<QGroupBox>("Frame2")->title(), u"Initial total records = 0"_s);
    QVERIFY(p->messages.shown.isEmpty() && shown("txtStockNumber").isEmpty());
    onlyTabs({"Stock_Data"});
    QVERIFY2(!w("cmdAction(24)")->isVisible(), "stock sent to Alumni");
    click(8);
    QCOMPARE(focused(), u"txtStockNumber"_s);
    refused(u"txtStockNumber"_s);
    fill({"txtStockNumber=ST-1"});
    refused(u"txtMaterial"_s);
    fill({"txtMaterial=Chalk", "txtLastPurchasePrice=250.5"});
    p->messages.setNextAnswer(MessageBoxes::Yes); // closing while editing stores
    QVERIFY(form->close());
    QCOMPARE(sql(u"SELECT Number, Last_Purchase_Price FROM Stock"_s), u"ST-1|250.5"_s);

    openForm(u"FormerStaff"_s);
    onlyTabs({"Basic_Data", "Staff_Data"});
    QVERIFY2(!w("cmdAction(8)")->isVisible() && !w("cmdAction(24)")->isVisible(),
             "former staff added or sent to Alumni");
}

// debt 200, payable 200, paid 0, balance -200; bill 1500; debt 300; paid 1000.
// Then the bill of the row shown printed from the read-only form an operator
// without the password opens, read back from its PDF.
void TestMenData::workedExampleStepByStep()
{
    addStudent(u"S0"_s, u"Other"_s, u"Address = NULL"_s); // not the row shown
    QCOMPARE(sql(u"UPDATE Fees SET Tuition = 1500, Sports = 30 WHERE Class_Level = 'Primary1'"_s),
             QString());
    addStudent(u"S1"_s, u"Ade"_s,
               u"Other_Names = 'Bola Funmi', Debt_From_Last_Term = 200, Amount_Payable = 200, "
               "Cummulative_Paid = 0, Financial_Balance = -200, Payment_History = 'paid XX by "
               "cheque'"_s);
    openForm();
    w<QTabWidget>("SSTab1")->setCurrentIndex(MenData::StudentTab);
    // The fee selection names the row shown, though its names are on the page
    // not shown; Edit then checks the address of the row it edits.
    QString who;
    whenModalOpens(u"SelectFees"_s, [&who](QDialog *d) {
        who = widget<QLabel>(d, "lblWho")->text();
        ::click(d, "cmdCancel");
    });
    click(0);
    QTest::mouseClick(w("cmdBill"), Qt::LeftButton);
    QCOMPARE(who, u"S0\r\nOther\r\nAda"_s);
    click(1);
    click(9);
    click(10);
    QVERIFY2(!form->editing(), "refused for the address of the row shown before");
    click(9);
    QVERIFY2(!w("cmdPrintBill")->isEnabled(), "a row being edited is printed");
    // The computed boxes take no typing; a row without a percentage shows 0.
    fill({"txtPayable=99", "txtBillThisTerm=Free = 1"});
    QCOMPARE(shown("txtPayable|txtBillThisTerm|txtPercentage"), u"200||0"_s);
    // The fee selection is made on the first bill, caption and student set.
    whenModalOpens(u"SelectFees"_s, [](QDialog *d) { tick(d, "Tuition", "cmdOK"); });
    QTest::mouseClick(w("cmdBill"), Qt::LeftButton);
    const QString boxes = u"txtDebt|txtBillThisTerm|txtPayable|txtAmountLastPaid|"
                          "txtCummulativePaid|txtFinancialBalance"_s;
    QCOMPARE(shown(boxes), u"200|Tuition = 1500\n|1700||0|-1700"_s);
    // The ticks come from the current bill; a cancelled selection changes nothing.
    QStringList seen;
    whenModalOpens(u"SelectFees"_s, [&](QDialog *d) {
        seen << d->windowTitle() << widget<QLabel>(d, "lblWho")->text()
             << lines(widget<QListWidget>(d, "lstFees"), true);
        tick(d, "Sports", "cmdCancel");
    });
    QTest::mouseClick(w("cmdBill"), Qt::LeftButton);
    QCOMPARE(seen, (QStringList{"Select Fees for Primary1", "S1\r\nAde\r\nBola Funmi", "Tuition"}));
    QCOMPARE(shown(boxes), u"200|Tuition = 1500\n|1700||0|-1700"_s);

    // A debt that is no number holds the caret against Tab and the mouse and
    // moves nothing; the debt typed moves the payable, entering and leaving
    // again moves nothing more.
    fill({"txtDebt=abc"});
    tab();
    click(10);
    QCOMPARE(focused() + u'|' + shown("txtPayable|txtFinancialBalance"), u"txtDebt|1700|-1700"_s);
    fill({"txtDebt=300"});
    tab();
    QCOMPARE(shown("txtPayable|txtFinancialBalance"), u"1800|-1800"_s);
    QTest::mouseClick(w("txtDebt"), Qt::LeftButton);
    tab();
    fill({"txtCummulativePaid=1000"});
    tab();
    QCOMPARE(shown("txtPayable|txtFinancialBalance"), u"1800|-800"_s);
    // The percentage as typed, key by key (stored as 7.52), the caret after it.
    fill({"txtPercentage=7.5.2"});
    QCOMPARE(w<QLineEdit>("txtPercentage")->cursorPosition(), 4);

    // F6 puts the term over the selection, F5 the day, in each remarks box.
    auto *history = w<QTextEdit>("rtfPaymentHistory");
    QTextCursor xx(history->document());
    xx.setPosition(6); // a double click on "XX" selects it
    QTest::mouseDClick(history->viewport(), Qt::LeftButton, {}, history->cursorRect(xx).center());
    QTest::keyClick(history, Qt::Key_F6);
    QTest::keyClick(history, Qt::Key_End);
    QTest::keyClick(history, Qt::Key_Space);
    QTest::keyClick(history, Qt::Key_F5);
    fill({"rtfAcademicHistory="});
    QTest::keyClick(w("rtfAcademicHistory"), Qt::Key_F6);
    click(10);
    QVERIFY(!form->editing() && w("cmdPrintBill")->isEnabled());
    const QString term = p->state->classes.CurrentTerm;
    const QString day = QLocale::system().toString(QDate(2026, 3, 14), QLocale::ShortFormat);
    QCOMPARE(sql(u"SELECT Bill_This_Term, Debt_From_Last_Term, Amount_Payable, "
                 "Cummulative_Paid, Financial_Balance, Percentage_Last_Term, "
                 "Payment_History, Academic_History FROM Student WHERE Number = 'S1'"_s),
             u"Tuition = 1500\r\n|300|1800|1000|-800|7.52|paid "_s + term + u" by cheque "_s + day +
                 u'|' + term);

    // A bill of several lines, a name over two lines, pence.
    QCOMPARE(
        sql(u"UPDATE Student SET Other_Names = 'Bola' || char(13, 10) || 'Funmi', Bill_This_Term "
            "= Bill_This_Term || 'Custom = 1250.5', Amount_Last_Paid = 700.5"_s),
        QString());
    p->state->SchoolName = u"Hill Top"_s;
    const QString pdf = p->file(u"Reports/bill.pdf"_s);
    printToPdf(p->desktop, pdf);
    openForm(u"Student"_s, false);
    // Read-only: no remarks, no bill, of the actions only Find.
    QVERIFY(w("rtfStudentRemarks")->isHidden() && !w("cmdBill")->isEnabled());
    for (const char *action : {"cmdAction(8)", "cmdAction(24)", "cmdAction(9)"})
        QVERIFY2(!w(action)->isVisible() && w("txtGoTo")->isVisible(), action);
    w<QTabWidget>("SSTab1")->setCurrentIndex(MenData::StudentTab);
    QTest::mouseClick(w("cmdPrintBill"), Qt::LeftButton);
    QCOMPARE(p->messages.texts(), QStringList{"No Printer installed."});
    QCOMPARE(p->desktop.prints, 0);
    p->desktop.printerInstalled = true;
    QTest::mouseClick(w("cmdPrintBill"), Qt::LeftButton);
    QCOMPARE(pdfLines(pdf),
             QStringList({"Hill Top", "Bill for Second Term_2026/2027", "Saturday, 14 March 2026",
                          "Number: S1", "Name: Ade Bola Funmi", "Class: Primary1 Blue",
                          "Tuition 1,500.00", "Custom 1,250.50", "Debt from last Term 300.00",
                          "Amount Payable this Term 1,800.00",
                          "Cummulative Amount Paid This Term 1,000.00", "Amount Last Paid 700.50",
                          "Financial Balance -800.00", "1"}));
}

QTEST_MAIN(TestMenData)
#include "tst_mendata.moc"
