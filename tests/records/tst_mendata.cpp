#include "TestProgram.h"
#include "records/MenData.h"

#include <QComboBox>
#include <QDateEdit>
#include <QGroupBox>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSqlError>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QTabWidget>
#include <QTest>

namespace {

QString surnameOf(const QSqlDatabase &db, const QString &table, const QString &number)
{
    QSqlQuery q(db);
    q.prepare(QStringLiteral("SELECT Surname FROM ") + table + QStringLiteral(" WHERE Number = ?"));
    q.addBindValue(number);
    return q.exec() && q.next() ? q.value(0).toString() : QStringLiteral("<none>");
}

int rowsOf(const QSqlDatabase &db, const QString &table)
{
    QSqlQuery q(db);
    return q.exec(QStringLiteral("SELECT COUNT(*) FROM ") + table) && q.next() ? q.value(0).toInt() : -1;
}

} // namespace

// The record form driven through its buttons, then checked against the table.
class TestMenData : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void opensOnLastRow_data();
    void opensOnLastRow();
    void navigationClamps();
    void findNumber_data();
    void findNumber();
    void newThenAbortKeepsTable();
    void editAbortRestoresSurname();
    void duplicateNumberStaysInEditing();
    void abortAfterEditRestoresTypedStateAndPhoto();
    void newResetsDatesToToday();
    void deleteAskedTwice();
    void sendToAlumniMovesEveryField();
    void failedTransferLosesNothing();
    void armNoLongerInStructureIsShown();
    void staffSex_data();
    void staffSex();
    void nullFieldsShowEmpty();
    void pictureStoredLowerCase();
    void stockStoresNoPersonField();
    void readOnlyStillFinds();
    void tabsOfTheKind_data();
    void tabsOfTheKind();

private:
    std::unique_ptr<TestProgram> p;
    std::unique_ptr<MenData> form;
    void addStudent(const QString &number, const QString &surname, const QString &level = QStringLiteral("Primary1"),
                    const QString &arm = QStringLiteral("Blue"));
    void openForm(const QString &kind = QStringLiteral("Student"));
    void click(int index);
    QString shown(const char *name) const;
};

void TestMenData::init()
{
    p = std::make_unique<TestProgram>();
    p->writeTypicalIni();
    p->prepareState();
}

void TestMenData::cleanup()
{
    form.reset();
    p.reset();
}

void TestMenData::addStudent(const QString &number, const QString &surname, const QString &level,
                             const QString &arm)
{
    QSqlQuery q(p->state->db());
    q.prepare(QStringLiteral("INSERT INTO Student (Number, Surname, Other_Names, Sex, Class_Level, Class_Arm, "
                             "Debt_From_Last_Term, Address) VALUES (?, ?, 'Ada', 'Female', ?, ?, 1500.5, "
                             "'12 Palm Road\nIbadan')"));
    q.addBindValue(number);
    q.addBindValue(surname);
    q.addBindValue(level);
    q.addBindValue(arm);
    QVERIFY2(q.exec(), qPrintable(q.lastError().text()));
}

void TestMenData::openForm(const QString &kind)
{
    p->state->RecordKind = kind;
    form = std::make_unique<MenData>(*p->state);
    form->arrangeForOpener(true);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
}

void TestMenData::click(int index)
{
    auto *b = form->findChild<QPushButton *>(QStringLiteral("cmdAction(%1)").arg(index));
    QVERIFY2(b && b->isVisible(), qPrintable(QStringLiteral("cmdAction(%1)").arg(index)));
    QTest::mouseClick(b, Qt::LeftButton);
}

QString TestMenData::shown(const char *name) const
{
    if (auto *e = form->findChild<QLineEdit *>(QString::fromLatin1(name)))
        return e->text();
    if (auto *e = form->findChild<QPlainTextEdit *>(QString::fromLatin1(name)))
        return e->toPlainText();
    if (auto *c = form->findChild<QComboBox *>(QString::fromLatin1(name)))
        return c->currentText();
    return QStringLiteral("<no %1>").arg(QString::fromLatin1(name));
}

void TestMenData::opensOnLastRow_data()
{
    QTest::addColumn<int>("rows");
    QTest::newRow("empty") << 0;
    QTest::newRow("three") << 3;
}

void TestMenData::opensOnLastRow()
{
    QFETCH(int, rows);
    for (int i = 1; i <= rows; ++i)
        addStudent(QStringLiteral("2003/04%1").arg(i), QStringLiteral("Surname%1").arg(i));
    openForm();
    QCOMPARE(form->findChild<QGroupBox *>(QStringLiteral("Frame2"))->title(),
             QStringLiteral("Initial total records = %1").arg(rows));
    QVERIFY(p->messages.shown.isEmpty());
    if (rows > 0) {
        QCOMPARE(shown("txtSurname"), QStringLiteral("Surname3"));
        // The opener's caption first; then each row shown names its number.
        QCOMPARE(form->windowTitle(), QStringLiteral(" : Student"));
        // Money as plain number text; line breaks kept.
        QCOMPARE(shown("txtDebt"), QStringLiteral("1500.5"));
        QCOMPARE(shown("txtAddress"), QStringLiteral("12 Palm Road\nIbadan"));
        QCOMPARE(shown("cmbSex"), QStringLiteral("Female"));
        click(0);
        QCOMPARE(form->windowTitle(), QStringLiteral("Student Data Entry : Number 2003/041"));
    } else {
        QCOMPARE(shown("txtSurname"), QString());
    }
}

void TestMenData::navigationClamps()
{
    for (int i = 1; i <= 3; ++i)
        addStudent(QStringLiteral("N%1").arg(i), QStringLiteral("S%1").arg(i));
    openForm();
    click(3); // Next on the last row stays there
    QCOMPARE(shown("txtSurname"), QStringLiteral("S3"));
    click(0);
    QCOMPARE(shown("txtSurname"), QStringLiteral("S1"));
    click(2); // Previous on the first row stays there
    QCOMPARE(shown("txtSurname"), QStringLiteral("S1"));
    click(3);
    QCOMPARE(shown("txtSurname"), QStringLiteral("S2"));
    click(1);
    QCOMPARE(shown("txtSurname"), QStringLiteral("S3"));
}

void TestMenData::findNumber_data()
{
    QTest::addColumn<QString>("typed");
    QTest::addColumn<QString>("after");     // surname shown after the find
    QTest::addColumn<QString>("afterNext"); // and after a following Next
    QTest::newRow("blanks around") << "  2003/045 " << "Okafor" << "Bello";
    QTest::newRow("letter case") << "x'1%_" << "Quote" << "Okafor";
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
    auto *goTo = form->findChild<QLineEdit *>(QStringLiteral("txtGoTo"));
    goTo->setFocus();
    QTest::keyClicks(goTo, typed);
    QTest::keyClick(goTo, Qt::Key_Return); // Enter acts as Find Number
    QCOMPARE(shown("txtSurname"), after);
    if (!typed.trimmed().isEmpty())
        QCOMPARE(goTo->text(), QString());
    QVERIFY(form->isVisible());
    click(3);
    QCOMPARE(shown("txtSurname"), afterNext);
}

void TestMenData::newThenAbortKeepsTable()
{
    addStudent(QStringLiteral("N1"), QStringLiteral("First"));
    addStudent(QStringLiteral("N2"), QStringLiteral("Second"));
    openForm();
    click(0);
    click(8);
    QCOMPARE(shown("txtSurname"), QString());
    QVERIFY(form->findChild<QWidget *>(QStringLiteral("Frame4"))->isVisible());
    QVERIFY(!form->findChild<QWidget *>(QStringLiteral("Frame2"))->isVisible());
    QTest::keyClicks(form->findChild<QLineEdit *>(QStringLiteral("txtSurname")), QStringLiteral("Ghost"));
    click(11);
    QCOMPARE(shown("txtSurname"), QStringLiteral("First"));
    QVERIFY(form->findChild<QWidget *>(QStringLiteral("Frame2"))->isVisible());
    QCOMPARE(rowsOf(p->state->db(), QStringLiteral("Student")), 2);
}

void TestMenData::editAbortRestoresSurname()
{
    addStudent(QStringLiteral("N1"), QStringLiteral("Okafor"));
    openForm();
    click(9);
    auto *surname = form->findChild<QLineEdit *>(QStringLiteral("txtSurname"));
    surname->selectAll();
    QTest::keyClicks(surname, QStringLiteral("Changed"));
    auto *state = form->findChild<QComboBox *>(QStringLiteral("cmbState"));
    state->setEditText(QStringLiteral("Ghana"));
    click(11);
    QCOMPARE(shown("txtSurname"), QStringLiteral("Okafor"));
    QCOMPARE(surnameOf(p->state->db(), QStringLiteral("Student"), QStringLiteral("N1")), QStringLiteral("Okafor"));

    // Edit and Update stores the change, with the day's date.
    click(9);
    surname->selectAll();
    QTest::keyClicks(surname, QStringLiteral("Eze"));
    click(10);
    QCOMPARE(surnameOf(p->state->db(), QStringLiteral("Student"), QStringLiteral("N1")), QStringLiteral("Eze"));
    QSqlQuery q(p->state->db());
    QVERIFY(q.exec(QStringLiteral("SELECT Date_Last_Updated, Debt_From_Last_Term FROM Student")) && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("2026-03-14"));
    QCOMPARE(q.value(1).toDouble(), 1500.5);
}

// A failed store keeps the operator's typing and changes no row.
void TestMenData::duplicateNumberStaysInEditing()
{
    addStudent(QStringLiteral("N1"), QStringLiteral("Okafor"));
    openForm();
    click(8);
    QTest::keyClicks(form->findChild<QLineEdit *>(QStringLiteral("txtNumber")), QStringLiteral("n1"));
    QTest::keyClicks(form->findChild<QLineEdit *>(QStringLiteral("txtSurname")), QStringLiteral("Twin"));
    click(10);
    QCOMPARE(p->messages.shown.size(), 1);
    QVERIFY(form->findChild<QWidget *>(QStringLiteral("Frame4"))->isVisible());
    QCOMPARE(shown("txtSurname"), QStringLiteral("Twin"));
    QCOMPARE(rowsOf(p->state->db(), QStringLiteral("Student")), 1);
    QCOMPARE(surnameOf(p->state->db(), QStringLiteral("Student"), QStringLiteral("N1")), QStringLiteral("Okafor"));

    // A new number then stores the row.
    auto *number = form->findChild<QLineEdit *>(QStringLiteral("txtNumber"));
    number->selectAll();
    QTest::keyClicks(number, QStringLiteral("N2"));
    click(10);
    QCOMPARE(rowsOf(p->state->db(), QStringLiteral("Student")), 2);
    QCOMPARE(surnameOf(p->state->db(), QStringLiteral("Student"), QStringLiteral("N2")), QStringLiteral("Twin"));
}

void TestMenData::abortAfterEditRestoresTypedStateAndPhoto()
{
    QSqlQuery q(p->state->db());
    QVERIFY(q.exec(QStringLiteral("INSERT INTO Student (Number, Surname, State_Of_Origin, Picture) "
                                  "VALUES ('N1', 'Mensah', 'Ghana', 'mensah.gif')")));
    openForm();
    QCOMPARE(shown("cmbState"), QStringLiteral("Ghana"));
    const QString photo = form->photoPath();
    QVERIFY(photo.endsWith(QStringLiteral("mensah.gif"), Qt::CaseInsensitive));
    p->messages.clear();
    click(9);
    form->findChild<QComboBox *>(QStringLiteral("cmbState"))->setEditText(QStringLiteral("Lagos"));
    form->setPhotoPath(p->file(QStringLiteral("Pictures/FrontView/other.gif")), false);
    click(11);
    QCOMPARE(shown("cmbState"), QStringLiteral("Ghana"));
    QCOMPARE(form->photoPath(), photo);
    QVERIFY(q.exec(QStringLiteral("SELECT State_Of_Origin, Picture FROM Student")) && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("Ghana"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("mensah.gif"));
}

void TestMenData::newResetsDatesToToday()
{
    addStudent(QStringLiteral("N1"), QStringLiteral("Okafor"));
    openForm();
    click(8);
    for (const char *picker : {"dtpBirthday", "dtpEnlisted"})
        QCOMPARE(form->findChild<QDateEdit *>(QString::fromLatin1(picker))->date(), QDate(2026, 3, 14));
    QCOMPARE(shown("cmbSex"), QStringLiteral("Male"));
    QCOMPARE(shown("txtDebt"), QString());
    QCOMPARE(form->photoPath(), QString());
}

void TestMenData::deleteAskedTwice()
{
    addStudent(QStringLiteral("N1"), QStringLiteral("First"));
    addStudent(QStringLiteral("N2"), QStringLiteral("Second"));
    addStudent(QStringLiteral("N3"), QStringLiteral("Third"));
    openForm();
    // Yes to the first question cancels.
    p->messages.setNextAnswer(MessageBoxes::Yes);
    click(6);
    QCOMPARE(rowsOf(p->state->db(), QStringLiteral("Student")), 3);
    QCOMPARE(p->messages.texts(), QStringList{"Cancel Deletion?"});

    p->messages.clear();
    p->messages.setNextAnswer(MessageBoxes::No);
    p->messages.setNextAnswer(MessageBoxes::Yes);
    click(6); // the last row: the first is shown afterwards
    QCOMPARE(p->messages.texts(), (QStringList{"Cancel Deletion?", "Are you double sure you want to Delete?"}));
    QCOMPARE(rowsOf(p->state->db(), QStringLiteral("Student")), 2);
    QCOMPARE(shown("txtSurname"), QStringLiteral("First"));
}

void TestMenData::sendToAlumniMovesEveryField()
{
    addStudent(QStringLiteral("2003/045"), QStringLiteral("Okafor"));
    QSqlQuery before(p->state->db());
    QVERIFY(before.exec(QStringLiteral("SELECT * FROM Student")) && before.next());
    QList<QVariant> stored;
    for (int i = 0; i < before.record().count(); ++i)
        stored << before.value(i);
    before.finish();

    openForm();
    p->messages.setNextAnswer(MessageBoxes::No);
    p->messages.setNextAnswer(MessageBoxes::Yes);
    click(24);
    QCOMPARE(p->messages.texts(), (QStringList{"Cancel irrevocable transfer to Alumni records?",
                                               "Are you double sure you want to Transfer?"}));
    QCOMPARE(rowsOf(p->state->db(), QStringLiteral("Student")), 0);
    QSqlQuery after(p->state->db());
    QVERIFY(after.exec(QStringLiteral("SELECT * FROM FormerStudent")) && after.next());
    for (int i = 0; i < stored.size(); ++i)
        QCOMPARE(after.value(i), stored.at(i));
}

void TestMenData::failedTransferLosesNothing()
{
    addStudent(QStringLiteral("N1"), QStringLiteral("Okafor"));
    QSqlQuery q(p->state->db());
    QVERIFY(q.exec(QStringLiteral("CREATE TRIGGER refuse BEFORE INSERT ON FormerStudent "
                                  "BEGIN SELECT RAISE(ABORT, 'former records are full'); END")));
    openForm();
    p->messages.setNextAnswer(MessageBoxes::No);
    p->messages.setNextAnswer(MessageBoxes::Yes);
    click(24);
    QCOMPARE(p->messages.shown.size(), 3);
    QVERIFY(p->messages.shown.at(2).text.contains(QStringLiteral("former records are full")));
    QCOMPARE(surnameOf(p->state->db(), QStringLiteral("Student"), QStringLiteral("N1")), QStringLiteral("Okafor"));
    QCOMPARE(rowsOf(p->state->db(), QStringLiteral("FormerStudent")), 0);
    QCOMPARE(shown("txtSurname"), QStringLiteral("Okafor"));
}

void TestMenData::armNoLongerInStructureIsShown()
{
    // Secondary1 has the arms A, B and C; Primary1 has Blue and Red.
    addStudent(QStringLiteral("N1"), QStringLiteral("Okafor"), QStringLiteral("Primary1"), QStringLiteral("Gold"));
    openForm();
    auto *arms = form->findChild<QComboBox *>(QStringLiteral("cmbClassArm"));
    QStringList items;
    for (int i = 0; i < arms->count(); ++i)
        items << arms->itemText(i);
    QCOMPARE(items, (QStringList{"Blue", "Red", "Gold"}));
    QCOMPARE(arms->currentText(), QStringLiteral("Gold"));
    QCOMPARE(shown("cmbClassLevel"), QStringLiteral("Primary1"));
}

void TestMenData::staffSex_data()
{
    QTest::addColumn<QVariant>("stored");
    QTest::addColumn<QString>("shown");
    QTest::newRow("female") << QVariant(QStringLiteral("Female")) << "Female";
    QTest::newRow("male") << QVariant(QStringLiteral("Male")) << "Male";
    QTest::newRow("empty") << QVariant(QString()) << "Female";
}

void TestMenData::staffSex()
{
    QFETCH(QVariant, stored);
    QFETCH(QString, shown);
    QSqlQuery q(p->state->db());
    q.prepare(QStringLiteral("INSERT INTO Staff (Number, Surname, Sex) VALUES ('T1', 'Bello', ?)"));
    q.addBindValue(stored.toString().isEmpty() ? QStringLiteral("") : stored.toString());
    QVERIFY(q.exec());
    openForm(QStringLiteral("Staff"));
    QCOMPARE(this->shown("cmbSex"), shown);
}

// Null fields show as empty and never carry the previous row's values.
void TestMenData::nullFieldsShowEmpty()
{
    addStudent(QStringLiteral("N1"), QStringLiteral("Full"));
    QSqlQuery q(p->state->db());
    QVERIFY(q.exec(QStringLiteral("INSERT INTO Student (Number) VALUES ('N2')")));
    openForm();
    click(0);
    QCOMPARE(shown("txtAddress"), QStringLiteral("12 Palm Road\nIbadan"));
    click(3);
    QVERIFY(p->messages.shown.isEmpty());
    for (const char *box : {"txtSurname", "txtOthernames", "txtAddress", "txtDebt"})
        QCOMPARE(shown(box), QString());
    // Storing it again keeps the empty fields empty.
    click(9);
    click(10);
    QVERIFY(q.exec(QStringLiteral("SELECT Surname, Debt_From_Last_Term FROM Student WHERE Number = 'N2'")) && q.next());
    QVERIFY(q.value(0).isNull() || q.value(0).toString().isEmpty());
    QVERIFY(q.value(1).isNull());
}

void TestMenData::pictureStoredLowerCase()
{
    addStudent(QStringLiteral("N1"), QStringLiteral("Okafor"));
    openForm();
    click(9);
    form->setPhotoPath(p->file(QStringLiteral("Pictures/FrontView/Ade.GIF")), false);
    click(10);
    QSqlQuery q(p->state->db());
    QVERIFY(q.exec(QStringLiteral("SELECT Picture FROM Student")) && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("ade.gif"));
}

void TestMenData::stockStoresNoPersonField()
{
    openForm(QStringLiteral("Stock"));
    click(8);
    QTest::keyClicks(form->findChild<QLineEdit *>(QStringLiteral("txtStockNumber")), QStringLiteral("ST-1"));
    QTest::keyClicks(form->findChild<QWidget *>(QStringLiteral("txtMaterial")), QStringLiteral("Chalk"));
    QTest::keyClicks(form->findChild<QLineEdit *>(QStringLiteral("txtLastPurchasePrice")), QStringLiteral("250.5"));
    click(10);
    QVERIFY(p->messages.shown.isEmpty());
    QSqlQuery q(p->state->db());
    QVERIFY(q.exec(QStringLiteral("SELECT Number, Material, Last_Purchase_Price, Date_Last_Updated FROM Stock")) &&
            q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("ST-1"));
    QCOMPARE(q.value(1).toString(), QStringLiteral("Chalk"));
    QCOMPARE(q.value(2).toDouble(), 250.5);
    QCOMPARE(q.value(3).toString(), QStringLiteral("2026-03-14"));
}

void TestMenData::readOnlyStillFinds()
{
    addStudent(QStringLiteral("N1"), QStringLiteral("First"));
    addStudent(QStringLiteral("N2"), QStringLiteral("Second"));
    p->state->RecordKind = QStringLiteral("Student");
    form = std::make_unique<MenData>(*p->state);
    form->arrangeForOpener(false);
    form->show();
    QVERIFY(QTest::qWaitForWindowExposed(form.get()));
    auto *surname = form->findChild<QLineEdit *>(QStringLiteral("txtSurname"));
    surname->setFocus();
    QTest::keyClicks(surname, QStringLiteral("xyz"));
    QCOMPARE(surname->text(), QStringLiteral("Second"));
    QVERIFY(!form->findChild<QWidget *>(QStringLiteral("rtfStudentRemarks"))->isVisibleTo(form.get()));
    QVERIFY(!form->findChild<QWidget *>(QStringLiteral("cmdBill"))->isEnabled());
    auto *goTo = form->findChild<QLineEdit *>(QStringLiteral("txtGoTo"));
    goTo->setFocus();
    QTest::keyClicks(goTo, QStringLiteral("N1"));
    QTest::keyClick(goTo, Qt::Key_Return);
    QCOMPARE(surname->text(), QStringLiteral("First"));
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
    addStudent(QStringLiteral("2003/045"), QStringLiteral("Okafor"));
    openForm(kind);
    auto *tabWidget = form->findChild<QTabWidget *>(QStringLiteral("SSTab1"));
    QVERIFY(tabWidget);
    QStringList visible;
    for (int i = 0; i < tabWidget->count(); ++i) {
        if (!tabWidget->isTabVisible(i))
            continue;
        visible << tabWidget->tabText(i);
        tabWidget->setCurrentIndex(i);
        form->grab().save(QStringLiteral("/tmp/kolvane-mendata-%1-%2.png").arg(kind, tabWidget->tabText(i)));
    }
    QCOMPARE(visible, tabs);
}

QTEST_MAIN(TestMenData)
#include "tst_mendata.moc"
