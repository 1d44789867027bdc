#include "TestProgram.h"
#include "Widgets.h"
#include "classes/RestructureClasses.h"
#include "classes/ReviseFees.h"
#include "classes/SelectFees.h"
#include "classes/SetTerm.h"
#include "platform/KeyValueFile.h"

#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QSqlQuery>

using W = RestructureClasses;

namespace {

// The record form's side of a bill, as plain values.
struct FakeRecord : BillTarget
{
    QString level, bill, payable;
    int balanceRecomputed = 0;
    QString classLevelText() const override { return level; }
    QString billText() const override { return bill; }
    void setBillText(const QString &text) override { bill = text; }
    QString debtText() const override { return QStringLiteral("20"); }
    void setPayableText(const QString &text) override { payable = text; }
    void payableLostFocus() override { ++balanceRecomputed; }
};

} // namespace

// The class forms driven as an operator would, then the file, the table or the record read;
// the rules they use (the bill, the schedule, the structure file, the stored term) are the
// logic test's.
class TestClassForms : public QObject
{
    Q_OBJECT
private slots:
    void cleanup() { wizard.reset(); } // a failed walk leaves no modal wizard behind
    void restructureClasses();
    void setTerm();
    void reviseFees();
    void selectFees();

private:
    void openWizard()
    {
        wizard = std::make_unique<RestructureClasses>(*program->state);
        QVERIFY(showActive(wizard.get()));
    }
    QLineEdit *num() const { return widget<QLineEdit>(wizard.get(), "txtNum"); }
    QLineEdit *box(int i) const
    {
        return widget<QLineEdit>(wizard.get(), QStringLiteral("txtLevelName(%1)").arg(i));
    }
    // The number of visible arm boxes; -1 when they are not the first ones.
    int visibleBoxes() const
    {
        int n = 0;
        for (int i = 0; i < 20; ++i)
            if (box(i)->isVisible() && i != n++)
                return -1;
        return n;
    }
    // Types over the count; the arm boxes follow it as typed.
    void typeCount(const QString &text, int shown)
    {
        retype(num(), text);
        if (text.isEmpty())
            QTest::keyClick(num(), Qt::Key_Delete);
        QVERIFY2(visibleBoxes() == shown, qPrintable(text));
    }
    // Types the names into the first boxes; an empty name leaves its box alone.
    void typeArms(const QStringList &names)
    {
        for (int i = 0; i < names.size(); ++i)
            if (!names.at(i).isEmpty())
                retype(box(i), names.at(i));
    }
    void navigate(int button)
    {
        QVERIFY(wizard->cmdNavigate(button)->isVisible());
        QTest::mouseClick(wizard->cmdNavigate(button), Qt::LeftButton);
    }
    // The page stays and the focus is held where the operator must act.
    void heldAt(int button, QWidget *focus, const char *fault)
    {
        const int page = wizard->page();
        navigate(button);
        QVERIFY2(wizard->page() == page && wizard->isVisible(), fault);
        QVERIFY2(focus->hasFocus(), fault);
    }
    // Back and Finish are there only where they lead somewhere.
    void goToPage(int page)
    {
        while (wizard->page() < page) {
            const int before = wizard->page();
            navigate(W::Next);
            QCOMPARE(wizard->page(), before + 1);
            QVERIFY(wizard->cmdNavigate(W::Back)->isVisible());
            QCOMPARE(wizard->cmdNavigate(W::Finish)->isVisible(), wizard->page() == 18);
            QCOMPARE(wizard->cmdNavigate(W::Next)->isVisible(), wizard->page() < 18);
        }
    }
    QHash<QString, QString> ini() const { return KeyValueFile(program->state->IniPath).readAll(); }

    std::unique_ptr<TestProgram> program;
    std::unique_ptr<RestructureClasses> wizard;
};

// The typical school, but Primary2 with a hand-edited 25 arms. Cancel asks even while the
// count is wrong or a name is missing; Yes closes and nothing is written. A count that is
// not a number from 0 to 20 holds the focus, and an empty name among those shown holds the
// page; Esc still asks, and No leaves the page as it was. Finish writes what the pages hold;
// a folder that is not there cannot take the file, and the operator is told.
void TestClassForms::restructureClasses()
{
    program = std::make_unique<TestProgram>();
    program->writeTypicalIni();
    QList<std::pair<QString, QString>> extra = {{"NumberOfPrimary2", "25"}};
    for (int k = 1; k <= 25; ++k)
        extra.append({ClassStructure::armKey("Primary2", k), QString::number(k)});
    program->writeIni(extra);
    program->prepareState();
    const QHash<QString, QString> before = ini();
    openWizard();
    typeCount(QStringLiteral("21"), 2);
    navigate(W::Cancel); // answered Yes
    QVERIFY2(!wizard->isVisible() && wizard->result() == QDialog::Rejected, "Cancel held");
    QCOMPARE(ini(), before);

    openWizard();
    QVERIFY(!wizard->cmdNavigate(W::Back)->isVisible());
    navigate(W::Next);
    typeCount(QStringLiteral("21"), 2);
    heldAt(W::Next, num(), "count 21");
    typeCount(QStringLiteral("-1"), 2);
    heldAt(W::Back, num(), "count -1");
    typeCount(QString(), 2);
    heldAt(W::Next, num(), "count empty");
    program->messages.setNextAnswer(MessageBoxes::No);
    QTest::keyClick(num(), Qt::Key_Escape);
    QVERIFY2(wizard->isVisible(), "Esc answered No closes");
    // A count shows, asks for and stores its names rounded half to even: the fourth name
    // asked for at 3.5 is kept.
    typeCount(QStringLiteral("2.5"), 2);
    typeArms({"Lily"});
    heldAt(W::Next, box(1), "2.5 asks two names");
    typeCount(QStringLiteral("3.5"), 4);
    typeArms({" A ", "B", "C"});
    heldAt(W::Next, box(3), "3.5 asks four names");
    heldAt(W::Back, box(3), "arm empty, Back");
    program->messages.setNextAnswer(MessageBoxes::No);
    navigate(W::Cancel);
    QVERIFY2(wizard->isVisible() && program->messages.shown.size() == 3, "Cancel held by a name");
    typeArms({"", "", "", "D"});
    navigate(W::Next);
    // Count 0: the name still showing need not be named, and is not written.
    typeCount(QStringLiteral("0"), 0);
    goToPage(5);
    // Lowered from 2 to 1; raised again, the page shows no old name.
    typeCount(QStringLiteral("1"), 1);
    navigate(W::Next);
    // A hand-edited count above 20 shows 20, four to a row, each in the frame, apart from its
    // neighbours and wide enough.
    QCOMPARE(visibleBoxes(), 20);
    QCOMPARE(box(19)->text(), QStringLiteral("20"));
    const QRect frame = widget(wizard.get(), "Frame1")->rect();
    for (int i = 0; i < 20; ++i) {
        const QRect r = box(i)->geometry();
        QVERIFY(frame.contains(r));
        QVERIFY(r.width() >= box(i)->fontMetrics().horizontalAdvance(u'M') * 8);
        QVERIFY(i % 4 == 0 || r.left() > box(i - 1)->geometry().right());
        QVERIFY(i < 4 || r.top() > box(i - 4)->geometry().bottom());
    }
    grabPng(wizard.get());
    navigate(W::Back);
    typeCount(QStringLiteral("2"), 2);
    QCOMPARE(box(0)->text(), QStringLiteral("Blue"));
    QVERIFY2(box(1)->text().isEmpty(), "old name shown");
    typeCount(QStringLiteral("1"), 1);
    goToPage(18);
    // On the last page Finish too is held by an empty name; blanks only count as empty.
    typeCount(QStringLiteral(" 2 "), 2);
    typeArms({"  Gold ", " "});
    heldAt(W::Finish, box(1), "arm empty, Finish");
    typeArms({"", "Silver  Star"});
    // With Cancel disabled, as when the file is missing at start-up, Esc does not close.
    wizard->cmdNavigate(W::Cancel)->setEnabled(false);
    QTest::keyClick(num(), Qt::Key_Escape);
    QVERIFY(wizard->isVisible());
    navigate(W::Finish);
    QCOMPARE(wizard->result(), int(QDialog::Accepted));
    const QString ask = QStringLiteral("Are you sure you want to\r\nAbort the Restructure "
                                       "Classes Wizard?");
    QCOMPARE(program->messages.texts(), QStringList(3, ask));

    // Every count is written; lowering keeps the old keys; the term is not the wizard's.
    const QStringList file = {"NumberOfKinderGarten2=4",    "KinderGarten2(4)=D",
                              "NumberOfNursery1=0",         "Nursery1(1)=Daisy",
                              "NumberOfPrimary1=1",         "Primary1(2)=Red",
                              "NumberOfPrimary2=20",        "Secondary8(1)=Gold",
                              "Secondary8(2)=Silver  Star", "CurrentTerm=Second Term_2026/2027"};
    for (const QString &line : file)
        QCOMPARE(ini().value(line.section(u'=', 0, 0)), line.section(u'=', 1));
    // What is held in memory is the file reloaded.
    QCOMPARE(program->state->classes.LevelsWithArms,
             (QStringList{"KinderGarten2", "Primary1", "Primary2", "Secondary1", "Secondary8"}));
    QCOMPARE(program->state->classes.ClassArms[1], (QStringList{"A", "B", "C", "D"}));
    // One progress position per write, 19 counts and 4 + 1 + 20 + 3 + 2 arms, rising.
    const QList<double> &values = wizard->progressValues();
    QCOMPARE(values.size(), 19 + 30);
    for (qsizetype i = 1; i < values.size(); ++i)
        QVERIFY(values.at(i) > values.at(i - 1));

    openWizard();
    program->state->IniPath = program->file(QStringLiteral("Gone/Kolvane.ini"));
    goToPage(18);
    navigate(W::Finish);
    QCOMPARE(wizard->result(), int(QDialog::Accepted));
    QVERIFY(program->messages.texts().last().contains(program->state->IniPath));
    // What is held in memory is what the file holds: nothing.
    QVERIFY(program->state->classes.LevelsWithArms.isEmpty());
}

// The stored term opens the form, through the file and the loader as at start-up (so with the
// loader's trailing blank); the stored text stays until a change, then the composer takes over.
// Esc and Cancel change nothing; OK writes the term alone; OK where the file cannot be written
// tells the operator, and the session goes on with the new term.
void TestClassForms::setTerm()
{
    TestProgram program;
    program.writeTypicalIni();
    const QString stored = QStringLiteral("Second Term_2026/2027");
    program.prepareState();
    SetTerm form(*program.state);
    QVERIFY(showActive(&form));
    auto *year = widget<QScrollBar>(&form, "hscYear");
    auto *term = widget<QLabel>(&form, "lblTerm");
    auto *yearLabel = widget<QLabel>(&form, "lblYear");
    QCOMPARE(term->text(), stored + u' '); // the term and year set come out below
    QTest::keyClick(year, Qt::Key_Return); // Enter is OK
    QCOMPARE(form.result(), int(QDialog::Accepted));
    QVERIFY2(program.state->classes.CurrentTerm == stored,
             "OK takes the shown text, blank and all");

    QVERIFY(showActive(&form));
    // A click right of the handle, left of the arrow, moves one year.
    QTest::mouseClick(year, Qt::LeftButton, {},
                      QPoint(year->width() - year->height() * 2, year->height() / 2));
    QCOMPARE(term->text(), QStringLiteral("Second Term_2027/2028"));
    QWidget *fourth = widget(&form, "optTerm(3)");
    QTest::mouseClick(fourth, Qt::LeftButton, {}, QPoint(12, fourth->height() / 2)); // its caption
    QCOMPARE(term->text(), QStringLiteral("Fourth Term_2027/2028"));
    // The bar ends at 2199; the longest term fits its label, the year reads beside its bar.
    QTest::keyClick(year, Qt::Key_End);
    QTest::keyClick(year, Qt::Key_Right);
    QCOMPARE(yearLabel->text(), QStringLiteral("2199"));
    QCOMPARE(term->text(), QStringLiteral("Fourth Term_2199/2200"));
    QVERIFY(term->contentsRect().width() >= term->fontMetrics().horizontalAdvance(term->text()));
    QVERIFY(yearLabel->geometry().left() >= year->geometry().right());
    QVERIFY(qAbs(yearLabel->geometry().center().y() - year->geometry().center().y()) <= 2);
    grabPng(&form);
    QTest::keyClick(year, Qt::Key_Escape);
    QVERIFY2(!form.isVisible() && form.result() == QDialog::Rejected, "Esc");
    QVERIFY(showActive(&form));
    click(&form, "CancelButton");
    QVERIFY2(!form.isVisible() && form.result() == QDialog::Rejected, "Cancel");
    QCOMPARE(program.state->classes.CurrentTerm, stored);

    QVERIFY(showActive(&form));
    click(&form, "OKButton");
    QCOMPARE(ReadVar(QStringLiteral("CurrentTerm"), program.state->IniPath),
             QStringLiteral("Fourth Term_2199/2200"));
    QCOMPARE(ReadVar(QStringLiteral("Primary1(1)"), program.state->IniPath),
             QStringLiteral("Blue"));

    // The bar starts at 1900.
    QVERIFY(showActive(&form));
    QTest::keyClick(year, Qt::Key_Home);
    program.state->IniPath = program.file(QStringLiteral("Gone/Kolvane.ini"));
    click(&form, "OKButton");
    QCOMPARE(program.state->classes.CurrentTerm, QStringLiteral("Fourth Term_1900/1901"));
    QCOMPARE(program.messages.shown.size(), 1);
    QVERIFY(program.messages.texts().first().contains(program.state->IniPath));
}

// An amount that does not read whole is reported and keeps the operator on the row, in the
// box, nothing written. Amounts are shown with separators once the row is left; an emptied
// amount is 0; a box left alone keeps its stored amount to the last decimal. The caption
// follows the row; Close writes the row.
void TestClassForms::reviseFees()
{
    TestProgram p;
    p.prepareState();
    QSqlQuery q(p.state->db());
    QVERIFY(q.exec(QStringLiteral("UPDATE Fees SET Development_Levy = 40, Sports = 251.499")));
    auto stored = [&p](const char *item) {
        const QString sql =
            QStringLiteral("SELECT %1 FROM Fees WHERE Class_Level = 'KinderGarten1'");
        return column(p.state->databaseFile(), sql.arg(QLatin1String(item))).value(0);
    };
    ReviseFees form(*p.state);
    QVERIFY(showActive(&form));
    auto box = [&form](int i) {
        return widget<QLineEdit>(&form, QStringLiteral("txtReviseFees(%1)").arg(i));
    };
    QCOMPARE(box(0)->text(), QStringLiteral("0.00"));
    retype(box(0), QStringLiteral("a lot"));
    click(&form, "cmdNext");
    QCOMPARE(p.messages.shown.size(), 1);
    QCOMPARE(form.windowTitle(), QStringLiteral("Revise Fees for KinderGarten1"));
    QCOMPARE(QApplication::focusWidget(), box(0));
    QCOMPARE(stored("Tuition").toDouble(), 0.0);

    retype(box(0), QStringLiteral("12,500.5"));
    retype(box(1), QString());
    QTest::keyClick(box(1), Qt::Key_Delete);
    click(&form, "cmdNext");
    QCOMPARE(form.windowTitle(), QStringLiteral("Revise Fees for KinderGarten2"));
    click(&form, "cmdPrevious");
    QCOMPARE(p.messages.shown.size(), 1);
    QCOMPARE(box(0)->text(), QStringLiteral("12,500.50"));
    QCOMPARE(stored("Tuition").toDouble(), 12500.5);
    QCOMPARE(stored("Development_Levy"), QStringLiteral("0"));
    QCOMPARE(stored("Sports").toDouble(), 251.499);

    click(&form, "cmdLast");
    QCOMPARE(form.windowTitle(), QStringLiteral("Revise Fees for Secondary8"));
    click(&form, "cmdNext"); // stays on the last row
    QCOMPARE(form.windowTitle(), QStringLiteral("Revise Fees for Secondary8"));
    click(&form, "cmdFirst"); // the row Close writes below
    // Each box is labelled with the column it writes.
    QCOMPARE(widget<QLabel>(&form, "Label1(4)")->text(), QStringLiteral("Sports"));
    grabPng(&form);
    retype(box(4), QStringLiteral("750"));
    click(&form, "cmdClose");
    QVERIFY(!form.isVisible());
    QCOMPARE(stored("Sports").toDouble(), 750.0);
}

// The bill goes back to the record with the debt added; billing again shows the last bill's
// ticks and custom amount (a cancelled selection is the record form's test). What the bill
// holds for each tick and custom amount is the logic test's.
void TestClassForms::selectFees()
{
    TestProgram p;
    p.prepareState();
    QVERIFY(QSqlQuery(p.state->db())
                .exec(QStringLiteral("UPDATE Fees SET Tuition = 500, Sports = 30, Books = 250.5, "
                                     "Uniform = 251.5 WHERE Class_Level = 'Primary1'")));
    FakeRecord record;
    record.level = QStringLiteral("  Primary1 "); // blanks around still find the row
    SelectFees form(*p.state, record);
    auto *list = widget<QListWidget>(&form, "lstFees");
    auto *custom = widget<QLineEdit>(&form, "txtCustom");
    form.MyActivate();
    QVERIFY(showActive(&form));

    // The tick box, the name and Space each toggle the tick exactly once.
    QListWidgetItem *books = list->findItems(QStringLiteral("Books"), Qt::MatchExactly).value(0);
    const QRect row = list->visualItemRect(books);
    const QPoint box(row.left() + row.height() / 2, row.center().y()); // the tick box leads
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, box);
    QVERIFY2(lines(list, true) == QStringList{"Books"}, "the tick box");
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, row.center());
    QVERIFY2(lines(list, true).isEmpty(), "the name");
    list->setCurrentItem(books);
    QTest::keyClick(list, Qt::Key_Space);
    QVERIFY2(lines(list, true) == QStringList{"Books"}, "Space");
    // The schedule's halves go to even on the bill.
    clickLine(list, QStringLiteral("Uniform"));
    grabPng(&form);
    // A custom amount the bill refuses holds, and OK bills nothing.
    retype(custom, QStringLiteral("-5"));
    click(&form, "cmdOK");
    QVERIFY2(form.isVisible() && record.bill.isEmpty(), "custom -5 billed");
    retype(custom, QStringLiteral("12.345"));
    click(&form, "cmdOK");
    const QString bill = QStringLiteral("Books = 250\r\nUniform = 252\r\nCustom = 12.35");
    QCOMPARE(record.bill, bill);
    QCOMPARE(record.payable, QStringLiteral("534"));
    QCOMPARE(record.balanceRecomputed, 1);
    QVERIFY(!form.isVisible());

    form.MyActivate();
    QVERIFY(showActive(&form));
    QCOMPARE(lines(list, true), (QStringList{"Books", "Uniform"}));
    QCOMPARE(custom->text(), QStringLiteral("12.35"));

    // A level with no row bills nothing, not the last level's amounts.
    record.level = QString();
    form.MyActivate();
    QCOMPARE(p.messages.texts(), QStringList{"No Fees found for "});
    QVERIFY(!form.hasAmounts());
    clickLine(list, QStringLiteral("Sports"));
    click(&form, "cmdOK");
    QCOMPARE(record.bill, bill);
    QCOMPARE(record.balanceRecomputed, 1);
    QVERIFY(form.isVisible());
}

QTEST_MAIN(TestClassForms)
#include "tst_classforms.moc"
