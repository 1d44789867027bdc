#include "RecordForm.h"

#include <QDateEdit>
#include <QGroupBox>
#include <QTabWidget>
#include <QWheelEvent>
#include <QWindow>

// The record form driven through its buttons, then checked against the table.
class TestMenData : public RecordFormTest
{
    Q_OBJECT
private slots:
    void init() { start(); }
    void cleanup() { finish(); }

    void opensOnLastRowAndClamps_data();
    void opensOnLastRowAndClamps();
    void findNumber_data();
    void findNumber();
    void newResetsThenAbortKeepsTable();
    void editAbortRestoresThenUpdateStores();
    void deleteAndTransferAskedTwice_data();
    void deleteAndTransferAskedTwice();
    void staffSex_data();
    void staffSex();
    void storedFromTheForm_data();
    void storedFromTheForm();
    void browsingTakesNoTyping_data();
    void browsingTakesNoTyping();
    void updateRefusesWhatCannotBeStored_data();
    void updateRefusesWhatCannotBeStored();
    void closingWhileEditingAsks_data();
    void closingWhileEditingAsks();
    void wheelTurnsOnlyTheFocusedList();
    void tabsOfTheKind_data();
    void tabsOfTheKind();

private:
    void addStudent(const QString &number, const QString &surname)
    {
        const QString error = sql(QStringLiteral("INSERT INTO Student (Number, Surname, Other_Names, Sex, Class_Level, "
                                                 "Class_Arm, Debt_From_Last_Term, Address) VALUES ('%1', '%2', 'Ada', "
                                                 "'Female', 'Primary1', 'Blue', 1500.5, '12 Palm Road\nIbadan')")
                                      .arg(QString(number).replace(u'\'', QStringLiteral("''")), surname));
        QVERIFY2(error.isEmpty(), qPrintable(error));
    }
    void addStudents(const QStringList &surnames) // numbered N1, N2, ...
    {
        for (int i = 0; i < surnames.size(); ++i)
            addStudent(QStringLiteral("N%1").arg(i + 1), surnames.at(i));
    }
    int rows(const QString &table) { return sql(QStringLiteral("SELECT count(*) FROM ") + table).toInt(); }
    // One notch of the wheel where the pointer rests over the widget.
    void wheel(QWidget *over)
    {
        const QPoint at = over->mapTo(form.get(), over->rect().center());
        QWheelEvent notch(at, over->mapToGlobal(over->rect().center()), {}, {0, -120}, Qt::NoButton, {},
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(form->windowHandle(), &notch);
    }
};

void TestMenData::opensOnLastRowAndClamps_data()
{
    QTest::addColumn<QStringList>("surnames");
    QTest::newRow("empty") << QStringList{};
    QTest::newRow("three") << QStringList{"First", "Second", "Third"};
}

void TestMenData::opensOnLastRowAndClamps()
{
    QFETCH(QStringList, surnames);
    addStudents(surnames);
    sql(QStringLiteral("UPDATE Student SET Class_Arm = 'Gold' WHERE Number = 'N3'")); // Primary1 has Blue and Red
    openForm();
    QCOMPARE(w<QGroupBox>("Frame2")->title(), QStringLiteral("Initial total records = %1").arg(surnames.size()));
    QVERIFY(p->messages.shown.isEmpty());
    QCOMPARE(shown("txtSurname"), surnames.value(2));
    if (surnames.isEmpty())
        return;
    // The opener's caption first; then each row shown names its number.
    QCOMPARE(form->windowTitle(), QStringLiteral(" : Student"));
    // Money as plain number text; line breaks kept.
    QCOMPARE(shown("txtDebt") + u'|' + shown("txtAddress") + u'|' + shown("cmbSex"),
             QStringLiteral("1500.5|12 Palm Road\nIbadan|Female"));
    // An arm no longer in the class structure is listed and selected.
    auto *arms = w<QComboBox>("cmbClassArm");
    QCOMPARE(arms->itemText(arms->count() - 1) + arms->currentText(), QStringLiteral("GoldGold"));
    // Next on the last row and Previous on the first stay where they are.
    const QList<std::pair<int, const char *>> steps = {{3, "Third"}, {0, "First"}, {2, "First"}, {3, "Second"},
                                                       {1, "Third"}};
    for (const auto &[button, surname] : steps) {
        click(button);
        QCOMPARE(shown("txtSurname"), QString::fromLatin1(surname));
    }
    QCOMPARE(form->windowTitle(), QStringLiteral("Student Data Entry : Number N3"));
}

void TestMenData::findNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");     // surname shown after the find
    QTest::addColumn<QString>("afterNext"); // and after a following Next
    QTest::newRow("blanks around") << "  2003/045 " << "Okafor" << "Bello";
    QTest::newRow("quote, percent, underscore, other case") << "x'1%_" << "Quote" << "Okafor";
    QTest::newRow("empty box") << "   " << "Adeyemi" << "Adeyemi";
    QTest::newRow("missing") << "9999" << "Adeyemi" << "Adeyemi";
}

void TestMenData::findNumber()
{
    QFETCH(QString, typed);
    QFETCH(QString, after);
    QFETCH(QString, afterNext);
    addStudent(QStringLiteral("X'1%_"), QStringLiteral("Quote"));
    addStudent(QStringLiteral("2003/045"), QStringLiteral("Okafor"));
    addStudent(QStringLiteral("2003/046"), QStringLiteral("Bello"));
    addStudent(QStringLiteral("2003/047"), QStringLiteral("Adeyemi"));
    openForm();
    type("txtGoTo", typed);
    QTest::keyClick(w("txtGoTo"), Qt::Key_Return); // Enter acts as Find Number
    QCOMPARE(shown("txtSurname"), after);
    if (!typed.trimmed().isEmpty())
        QCOMPARE(shown("txtGoTo"), QString());
    click(3);
    QCOMPARE(shown("txtSurname"), afterNext);
}

void TestMenData::newResetsThenAbortKeepsTable()
{
    addStudents({"First", "Second"});
    openForm();
    click(0);
    click(8);
    QCOMPARE(shown("txtSurname") + shown("txtDebt") + shown("cmbSex") + form->photoPath(), QStringLiteral("Male"));
    for (const char *picker : {"dtpBirthday", "dtpEnlisted"})
        QCOMPARE(w<QDateEdit>(picker)->date(), QDate(2026, 3, 14));
    QVERIFY(w("Frame4")->isVisible() && !w("Frame2")->isVisible());
    QTest::keyClicks(w("txtSurname"), QStringLiteral("Ghost"));
    click(11);
    QCOMPARE(shown("txtSurname"), QStringLiteral("First"));
    QVERIFY(w("Frame2")->isVisible());
    QCOMPARE(rows(QStringLiteral("Student")), 2);
}

void TestMenData::editAbortRestoresThenUpdateStores()
{
    addStudent(QStringLiteral("N1"), QStringLiteral("Okafor"));
    sql(QStringLiteral("UPDATE Student SET State_Of_Origin = 'Ghana', Picture = 'mensah.gif'"));
    openForm();
    const QString photo = form->photoPath();
    QVERIFY(photo.endsWith(QStringLiteral("mensah.gif"), Qt::CaseInsensitive));
    p->messages.clear(); // the photo file is missing
    click(9);
    type("txtSurname", QStringLiteral("Changed"));
    w<QComboBox>("cmbState")->setEditText(QStringLiteral("Lagos"));
    form->setPhotoPath(p->file(QStringLiteral("Pictures/FrontView/other.gif")), false);
    click(11);
    // A state typed as free text and the photo path come back too.
    QCOMPARE(shown("txtSurname") + shown("cmbState"), QStringLiteral("OkaforGhana"));
    QCOMPARE(form->photoPath(), photo);
    QCOMPARE(sql(QStringLiteral("SELECT Surname FROM Student")), QStringLiteral("Okafor"));

    click(9);
    type("txtSurname", QStringLiteral("Eze"));
    form->setPhotoPath(p->file(QStringLiteral("Pictures/FrontView/Ade.GIF")), false);
    click(10);
    QCOMPARE(sql(QStringLiteral("SELECT Surname, Picture, Date_Last_Updated, Debt_From_Last_Term, State_Of_Origin "
                                "FROM Student")),
             QStringLiteral("Eze|ade.gif|2026-03-14|1500.5|Ghana"));
}

void TestMenData::deleteAndTransferAskedTwice_data()
{
    QTest::addColumn<int>("button");
    QTest::addColumn<QStringList>("questions");
    QTest::addColumn<QString>("keptIn"); // where the last row is afterwards, field by field
    const QStringList transfer = {"Cancel irrevocable transfer to Alumni records?",
                                  "Are you double sure you want to Transfer?"};
    QTest::newRow("delete") << 6 << QStringList{"Cancel Deletion?", "Are you double sure you want to Delete?"} << "";
    QTest::newRow("send to alumni") << 24 << transfer << "FormerStudent";
    QTest::newRow("send to alumni, copy refused") << 24 << transfer << "Student";
}

void TestMenData::deleteAndTransferAskedTwice()
{
    QFETCH(int, button);
    QFETCH(QStringList, questions);
    QFETCH(QString, keptIn);
    const bool refused = keptIn == QStringLiteral("Student");
    addStudents({"First", "Second", "Third"});
    const QString third = sql(QStringLiteral("SELECT * FROM Student WHERE Number = 'N3'"));
    if (refused)
        sql(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON FormerStudent "
                           "BEGIN SELECT RAISE(ABORT, 'former records are full'); END"));
    openForm();
    // Yes to the first question cancels.
    p->messages.setNextAnswer(MessageBoxes::Yes);
    click(button);
    QCOMPARE(p->messages.texts(), questions.mid(0, 1));
    QCOMPARE(rows(QStringLiteral("Student")), 3);

    p->messages.clear();
    p->messages.setNextAnswer(MessageBoxes::No);
    p->messages.setNextAnswer(MessageBoxes::Yes);
    click(button); // the last row: the first is shown afterwards
    QCOMPARE(p->messages.texts().mid(0, 2), questions);
    QCOMPARE(p->messages.shown.size(), refused ? 3 : 2);
    if (refused)
        QVERIFY(p->messages.texts().at(2).contains(QStringLiteral("former records are full")));
    QCOMPARE(rows(QStringLiteral("Student")), refused ? 3 : 2);
    QCOMPARE(rows(QStringLiteral("FormerStudent")), keptIn == QStringLiteral("FormerStudent") ? 1 : 0);
    if (!keptIn.isEmpty())
        QCOMPARE(sql(QStringLiteral("SELECT * FROM %1 WHERE Number = 'N3'").arg(keptIn)), third);
    QCOMPARE(shown("txtSurname"), refused ? QStringLiteral("Third") : QStringLiteral("First"));
}

void TestMenData::staffSex_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("female") << "Female" << "Female";
    QTest::newRow("male") << "Male" << "Male";
    QTest::newRow("empty") << "" << "Female";
}

void TestMenData::staffSex()
{
    QFETCH(QString, stored);
    QFETCH(QString, shown);
    sql(QStringLiteral("INSERT INTO Staff (Number, Surname, Sex) VALUES ('T1', 'Bello', '%1')").arg(stored));
    openForm(QStringLiteral("Staff"));
    QCOMPARE(this->shown("cmbSex"), shown);
}

// What the boxes show and what was typed into them, stored. Null fields show
// as empty, never carrying the previous row's values; a number box stores the
// number its check read; fields left alone are written back exactly as read;
// every binding of a kind names a column of its table and no other table's.
void TestMenData::storedFromTheForm_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QString>("setup");
    QTest::addColumn<int>("action"); // New or Edit
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("query");
    QTest::addColumn<QString>("stored");
    const QString birthday = QStringLiteral("SELECT Birthday FROM Student"); // shown as "no date"
    QTest::newRow("null fields stay null")
        << "Student" << "INSERT INTO Student (Number) VALUES ('N2')" << 9 << QStringList{}
        << "SELECT coalesce(Surname, Other_Names, Address, ''), typeof(Debt_From_Last_Term) FROM Student "
           "WHERE Number = 'N2'"
        << "|null";
    QTest::newRow("untouched as read")
        << "Student"
        << "UPDATE Student SET Address = 'a' || char(13, 10) || 'b' || char(13) || 'c', Other_Names = 'Ada' || "
           "char(160) || 'Obi', Remarks = 'x' || char(13, 10) || 'y', Next_Of_Kin = printf('%.40000c', 'k'), "
           "Financial_Balance = 9e999"
        << 9 << QStringList{"txtDebt=1D3", "txtCummulativePaid=1 500"}
        << "SELECT Address = 'a' || char(13, 10) || 'b' || char(13) || 'c', Other_Names = 'Ada' || char(160) || 'Obi', "
           "Remarks = 'x' || char(13, 10) || 'y', Next_Of_Kin = printf('%.40000c', 'k'), Financial_Balance = 9e999, "
           "Class_Arm, Sex, Percentage_Last_Term, Debt_From_Last_Term, Cummulative_Paid, typeof(Cummulative_Paid) "
           "FROM Student"
        << "1|1|1|1|1|Blue|Female||1000|1500|real";
    QTest::newRow("new staff") << "Staff" << "" << 8
                               << QStringList{"txtNumber=ST-1", "txtSurname=Eze", "txtAddress=Jos",
                                              "txtMonthlySalary=250.5"}
                               << "SELECT Number, Monthly_Salary, Date_Last_Updated FROM Staff"
                               << "ST-1|250.5|2026-03-14";
    QTest::newRow("new stock") << "Stock" << "" << 8
                               << QStringList{"txtStockNumber=ST-1", "txtMaterial=Chalk", "txtLastPurchasePrice=250.5"}
                               << "SELECT Number, Last_Purchase_Price, Date_Last_Updated FROM Stock"
                               << "ST-1|250.5|2026-03-14";
    QTest::newRow("date dd/MM/yyyy") << "Student" << "" << 9 << QStringList{"dtpBirthday=14/03/2015"} << birthday
                                     << "2015-03-14";
    QTest::newRow("date d/M/yyyy") << "Student" << "" << 9 << QStringList{"dtpBirthday=4/3/2015"} << birthday
                                   << "2015-03-04";
    QTest::newRow("date d.M.yyyy") << "Student" << "" << 9 << QStringList{"dtpBirthday=4.3.2015"} << birthday
                                   << "2015-03-04";
    QTest::newRow("date yyyy-MM-dd") << "Student" << "" << 9 << QStringList{"dtpBirthday=2015-03-14"} << birthday
                                     << "2015-03-14";
    QTest::newRow("no such day") << "Student" << "" << 9 << QStringList{"dtpBirthday=31/02/2015"} << birthday << "";
}

void TestMenData::storedFromTheForm()
{
    QFETCH(QString, kind);
    QFETCH(QString, setup);
    QFETCH(int, action);
    QFETCH(QStringList, typed);
    QFETCH(QString, query);
    QFETCH(QString, stored);
    addStudent(QStringLiteral("N1"), QStringLiteral("Full"));
    if (!setup.isEmpty())
        QCOMPARE(sql(setup), QString());
    openForm(kind);
    click(0);
    click(1);
    click(action);
    fill(typed);
    if (typed.value(0).startsWith(QStringLiteral("dtp"))) {
        tab(); // a typed date is taken on leaving the picker, for the next one
        QCOMPARE(focused(), QStringLiteral("dtpEnlisted"));
    }
    click(10);
    QVERIFY2(p->messages.shown.isEmpty(), qPrintable(p->messages.texts().join(u'|')));
    QCOMPARE(sql(query), stored);
}

void TestMenData::browsingTakesNoTyping_data()
{
    QTest::addColumn<bool>("granted");
    QTest::newRow("browsing") << true;
    QTest::newRow("read-only arrangement") << false;
}

void TestMenData::browsingTakesNoTyping()
{
    QFETCH(bool, granted);
    addStudents({"First", "Second"});
    openForm(QStringLiteral("Student"), granted);
    fill({"txtSurname=xyz", "txtDebt=9"});
    QTest::mouseClick(w("cmbSex"), Qt::LeftButton);
    QTest::keyClick(w("cmbSex"), Qt::Key_Down);
    QCOMPARE(shown("txtSurname") + shown("txtDebt") + shown("cmbSex"), QStringLiteral("Second1500.5Female"));
    QCOMPARE(w("rtfStudentRemarks")->isHidden(), !granted);
    QCOMPARE(w("cmdBill")->isEnabled(), granted);
    // No box can be mended here, so none keeps the focus, though it fails its check.
    sql(QStringLiteral("UPDATE Student SET Debt_From_Last_Term = NULL WHERE Number = 'N2'"));
    click(1);
    w<QTabWidget>("SSTab1")->setCurrentIndex(MenData::StudentTab);
    QTest::mouseClick(w("txtDebt"), Qt::LeftButton);
    tab();
    QVERIFY(focused() != QStringLiteral("txtDebt"));
    QCOMPARE(shown("txtPayable"), QString()); // nor computes anything
    w<QTabWidget>("SSTab1")->setCurrentIndex(MenData::BasicTab);
    fill({"txtGoTo=N1"});
    QTest::keyClick(w("txtGoTo"), Qt::Key_Return);
    QCOMPARE(shown("txtSurname"), QStringLiteral("First"));
}

// Nothing is stored; the caret goes to the field to mend, and the operator
// reads why in words of the form, not of the engine. What was typed stays, so
// mending it stores the row.
void TestMenData::updateRefusesWhatCannotBeStored_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QString>("caretIn");
    QTest::addColumn<QString>("message");
    QTest::addColumn<QString>("mend");
    const QStringList person = {"txtNumber=N9", "txtSurname=Eze", "txtAddress=Jos"};
    QTest::newRow("read-only database") << "Student" << person + QStringList{"PRAGMA query_only = ON"}
                                        << "cmdAction(10)"
        << "The database cannot be written by this user: nothing was stored.\r\nattempt to write a readonly database"
        << "";
    QTest::newRow("number taken") << "Student" << QStringList{"txtNumber=n1", "txtSurname=Twin", "txtAddress=Jos"}
                                  << "cmdAction(10)" << "A Student with the number n1 already exists."
                                  << "txtNumber=N2";
    QTest::newRow("nothing typed") << "Student" << QStringList{} << "txtNumber" << "" << "";
    QTest::newRow("no surname") << "Student" << QStringList{"txtNumber=N9"} << "txtSurname" << "" << "";
    QTest::newRow("blank address") << "Staff" << QStringList{"txtNumber=N9", "txtSurname=Eze", "txtAddress=   "}
                                   << "txtAddress" << "" << "txtAddress=Jos";
    QTest::newRow("no material") << "Stock" << QStringList{"txtStockNumber=S1"} << "txtMaterial" << "" << "";
    QTest::newRow("beyond any number") << "Student" << person + QStringList{"txtAmountLastPaid=1e999"}
                                       << "txtAmountLastPaid" << "Amount Last Paid must be a number." << "";
    QTest::newRow("salary not a number") << "Staff" << person + QStringList{"txtMonthlySalary=12abc"}
                                         << "txtMonthlySalary" << "Monthly Salary must be a number."
                                         << "txtMonthlySalary=12";
}

void TestMenData::updateRefusesWhatCannotBeStored()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, typed);
    QFETCH(QString, caretIn);
    QFETCH(QString, message);
    QFETCH(QString, mend);
    addStudent(QStringLiteral("N1"), QStringLiteral("Okafor"));
    const int before = rows(kind);
    openForm(kind);
    click(8);
    QCOMPARE(focused(), kind == QStringLiteral("Stock") ? QStringLiteral("txtStockNumber") : QStringLiteral("txtNumber"));
    if (typed.value(3).startsWith(QStringLiteral("PRAGMA")))
        sql(typed.takeLast());
    fill(typed);
    click(10);
    QCOMPARE(focused(), caretIn);
    QCOMPARE(p->messages.texts(), message.isEmpty() ? QStringList{} : QStringList{message});
    QVERIFY(w("Frame4")->isVisible());
    QCOMPARE(rows(kind), before);
    if (mend.isEmpty())
        return;
    fill({mend});
    click(10);
    QCOMPARE(rows(kind), before + 1);
    QVERIFY(!form->editing());
}

void TestMenData::closingWhileEditingAsks_data()
{
    QTest::addColumn<int>("answer");
    QTest::addColumn<QString>("stored");
    QTest::newRow("yes stores") << int(MessageBoxes::Yes) << "Eze";
    QTest::newRow("no drops") << int(MessageBoxes::No) << "Okafor";
    QTest::newRow("cancel stays in editing") << int(MessageBoxes::Cancel) << "Okafor";
}

void TestMenData::closingWhileEditingAsks()
{
    QFETCH(int, answer);
    QFETCH(QString, stored);
    const bool open = answer == MessageBoxes::Cancel;
    addStudent(QStringLiteral("N1"), QStringLiteral("Okafor"));
    openForm();
    click(9);
    fill({"txtSurname=Eze"});
    p->messages.setNextAnswer(MessageBoxes::Button(answer));
    QCOMPARE(form->close(), !open);
    QCOMPARE(p->messages.texts(), QStringList{"Store the changes to N1?"});
    QCOMPARE(sql(QStringLiteral("SELECT Surname FROM Student")), stored);
    QVERIFY(form->isVisible() == open && form->editing() == open);
}

void TestMenData::wheelTurnsOnlyTheFocusedList()
{
    addStudent(QStringLiteral("N1"), QStringLiteral("Okafor"));
    openForm();
    click(9);
    auto *tabs = w<QTabWidget>("SSTab1");
    tabs->setCurrentIndex(MenData::StudentTab);
    wheel(w("cmbClassLevel"));
    QCOMPARE(shown("cmbClassLevel"), QStringLiteral("Primary1"));
    QTest::mouseClick(w("cmbClassLevel"), Qt::LeftButton);
    QTest::keyClick(QApplication::activePopupWidget(), Qt::Key_Escape);
    wheel(w("cmbClassLevel"));
    QCOMPARE(shown("cmbClassLevel"), QStringLiteral("Primary2"));
    // A failing check holds against the wheel on a list and on the tab bar.
    tabs->setCurrentIndex(MenData::BasicTab);
    fill({"txtSurname="});
    for (QWidget *over : {w("cmbSex"), static_cast<QWidget *>(tabs->tabBar())})
        wheel(over);
    QCOMPARE(shown("cmbSex"), QStringLiteral("Female"));
    QCOMPARE(tabs->currentIndex(), int(MenData::BasicTab));
    QCOMPARE(focused(), QStringLiteral("txtSurname"));
    grabPng(form.get());
}

void TestMenData::tabsOfTheKind_data()
{
    QTest::addColumn<QString>("kind");
    QTest::addColumn<QStringList>("tabs");
    QTest::newRow("student") << "Student" << QStringList{"Basic_Data", "Student_Data"};
    QTest::newRow("former staff") << "FormerStaff" << QStringList{"Basic_Data", "Staff_Data"};
    QTest::newRow("stock") << "Stock" << QStringList{"Stock_Data"};
}

void TestMenData::tabsOfTheKind()
{
    QFETCH(QString, kind);
    QFETCH(QStringList, tabs);
    openForm(kind);
    auto *tabWidget = w<QTabWidget>("SSTab1");
    QStringList visible;
    for (int i = 0; i < tabWidget->count(); ++i)
        if (tabWidget->isTabVisible(i))
            visible << tabWidget->tabText(i);
    QCOMPARE(visible, tabs);
    // Ctrl+Tab and the wheel pass over the other kinds' tabs.
    for (int i = 0; i < 4; ++i) {
        QTest::keyClick(tabWidget, Qt::Key_Tab, i % 2 ? Qt::ControlModifier : Qt::ControlModifier | Qt::ShiftModifier);
        wheel(tabWidget->tabBar());
        QVERIFY2(tabs.contains(tabWidget->tabText(tabWidget->currentIndex())),
                 qPrintable(tabWidget->tabText(tabWidget->currentIndex())));
    }
}

QTEST_MAIN(TestMenData)
#include "tst_mendata.moc"
