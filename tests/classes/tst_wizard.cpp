#include "TestProgram.h"
#include "Widgets.h"
#include "classes/ClassStructure.h"
#include "classes/RestructureClasses.h"
#include "platform/KeyValueFile.h"

#include <QPushButton>

using Pairs = QList<std::pair<QString, QString>>;
using W = RestructureClasses;

// The wizard driven page by page as an operator would.
class TestWizard : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup()
    {
        wizard.reset();
        program.reset();
    }

    void finishWritesWhatThePagesHold();
    void cancelledOrFailedWriteNothing();

private:
    QLineEdit *num() const { return widget<QLineEdit>(wizard.get(), "txtNum"); }
    QLineEdit *box(int i) const
    {
        return widget<QLineEdit>(wizard.get(), QStringLiteral("txtLevelName(%1)").arg(i));
    }
    int visibleBoxes() const;
    void typeCount(const QString &text, int shown);
    void typeArms(const QStringList &names);
    void click(int button)
    {
        QVERIFY(wizard->cmdNavigate(button)->isVisible());
        QTest::mouseClick(wizard->cmdNavigate(button), Qt::LeftButton);
    }
    // The page stays and the focus is held where the operator must act.
    void heldAt(int button, QWidget *focus, const char *fault);
    void goToPage(int page);
    QHash<QString, QString> ini() const { return KeyValueFile(program->state->IniPath).readAll(); }

    std::unique_ptr<TestProgram> program;
    std::unique_ptr<RestructureClasses> wizard;
};

// The typical school, but Primary2 with a hand-edited 25 arms.
void TestWizard::init()
{
    program = std::make_unique<TestProgram>();
    program->writeTypicalIni();
    Pairs extra = {{"NumberOfPrimary2", "25"}};
    for (int k = 1; k <= 25; ++k)
        extra.append({ClassStructure::armKey("Primary2", k), QString::number(k)});
    QVERIFY(WriteVars(extra, program->file(QStringLiteral("Progs/Kolvane.ini"))));
    program->prepareState();
    wizard = std::make_unique<RestructureClasses>(*program->state);
    QVERIFY(showActive(wizard.get()));
}

// The number of visible boxes; -1 when they are not the first ones.
int TestWizard::visibleBoxes() const
{
    int n = 0;
    for (int i = 0; i < 20; ++i)
        if (box(i)->isVisible() && i != n++)
            return -1;
    return n;
}

// Types over the count; the arm boxes follow it as typed.
void TestWizard::typeCount(const QString &text, int shown)
{
    num()->setFocus();
    QTRY_VERIFY(num()->hasFocus());
    QTest::keyClick(num(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(num(), Qt::Key_Delete);
    QTest::keyClicks(num(), text);
    QVERIFY2(visibleBoxes() == shown, qPrintable(text));
}

// Types the names into the first boxes; an empty name leaves its box alone.
void TestWizard::typeArms(const QStringList &names)
{
    for (int i = 0; i < names.size(); ++i)
        if (!names.at(i).isEmpty())
            retype(box(i), names.at(i));
}

void TestWizard::heldAt(int button, QWidget *focus, const char *fault)
{
    const int page = wizard->page();
    click(button);
    QVERIFY2(wizard->page() == page && wizard->isVisible(), fault);
    QVERIFY2(focus->hasFocus(), fault);
}

// Back and Finish are there only where they lead somewhere.
void TestWizard::goToPage(int page)
{
    while (wizard->page() < page) {
        const int before = wizard->page();
        click(W::Next);
        QCOMPARE(wizard->page(), before + 1);
        QVERIFY(wizard->cmdNavigate(W::Back)->isVisible());
        QCOMPARE(wizard->cmdNavigate(W::Finish)->isVisible(), wizard->page() == 18);
        QCOMPARE(wizard->cmdNavigate(W::Next)->isVisible(), wizard->page() < 18);
    }
}

// A count that is not a number from 0 to 20 holds the focus, against Tab too; an empty name
// among those shown holds the page. The close box and Esc still ask; No leaves the page as
// it was.
void TestWizard::finishWritesWhatThePagesHold()
{
    QVERIFY(!wizard->cmdNavigate(W::Back)->isVisible());
    click(W::Next);
    typeCount(QStringLiteral("21"), 2);
    heldAt(W::Next, num(), "count 21");
    QTest::keyClick(num(), Qt::Key_Tab);
    QVERIFY2(num()->hasFocus(), "Tab leaves a wrong count");
    program->messages.setNextAnswer(MessageBoxes::No);
    wizard->close();
    QVERIFY2(wizard->isVisible(), "the close box answered No closes");
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
    typeArms({"", "", "", "D"});
    click(W::Next);
    // Count 0: the name still showing need not be named, and is not written.
    typeCount(QStringLiteral("0"), 0);
    goToPage(5);
    // Lowered from 2 to 1; raised again, the page shows no old name.
    typeCount(QStringLiteral("1"), 1);
    click(W::Next);
    // A hand-edited count above 20 shows 20, four to a row, each in the frame, apart from its
    // neighbours and wide enough.
    QCOMPARE(num()->text(), QStringLiteral("20"));
    QCOMPARE(visibleBoxes(), 20);
    QCOMPARE(box(19)->text(), QStringLiteral("20"));
    const QRect frame = widget(wizard.get(), "Frame1")->rect();
    for (int i = 0; i < 20; ++i) {
        const QRect r = box(i)->geometry();
        QVERIFY(frame.contains(r));
        QVERIFY(r.width() >= box(i)->fontMetrics().horizontalAdvance(u'M') * 8);
        QCOMPARE(r.top(), box(i - i % 4)->geometry().top());
        QVERIFY(i % 4 == 0 || r.left() > box(i - 1)->geometry().right());
        QVERIFY(i < 4 || r.top() > box(i - 4)->geometry().bottom());
    }
    grabPng(wizard.get());
    click(W::Back);
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
    click(W::Finish);
    QCOMPARE(wizard->result(), int(QDialog::Accepted));
    const QString ask = QStringLiteral("Are you sure you want to\r\nAbort the Restructure "
                                       "Classes Wizard?");
    QCOMPARE(program->messages.texts(), (QStringList{ask, ask}));

    // Every count is written; lowering keeps the old keys; the term is not the wizard's.
    const QHash<QString, QString> all = ini();
    const QStringList file = {"NumberOfKinderGarten2=4",
                              "KinderGarten2(4)=D",
                              "KinderGarten2(5)=",
                              "NumberOfNursery1=0",
                              "Nursery1(1)=Daisy",
                              "NumberOfPrimary1=1",
                              "Primary1(2)=Red",
                              "NumberOfPrimary2=20",
                              "NumberOfSecondary7=0",
                              "Secondary8(1)=Gold",
                              "Secondary8(2)=Silver  Star",
                              "CurrentTerm=Second Term_2026/2027"};
    for (const QString &line : file)
        QCOMPARE(all.value(line.section(u'=', 0, 0)), line.section(u'=', 1));
    // What is held in memory is the file reloaded.
    const ClassStructure &classes = program->state->classes;
    QCOMPARE(classes.LevelsWithArms,
             (QStringList{"KinderGarten2", "Primary1", "Primary2", "Secondary1", "Secondary8"}));
    QCOMPARE(classes.ClassArms[1], (QStringList{"A", "B", "C", "D"}));
    QCOMPARE(classes.ClassArms[5], QStringList{"Blue"});
    QCOMPARE(int(classes.NumberOfArms[18]), 2);

    // One progress position per write: 19 counts and 4 + 1 + 20 + 3 + 2 arms. KinderGarten2
    // has four arms: its count is written at 95 x (2 + 1/5) / 20.
    const QList<double> &values = wizard->progressValues();
    QCOMPARE(values.size(), 19 + 30);
    QCOMPARE(values.at(1), 95.0 * (2.0 + 1.0 / 5.0) / 20.0);
    QCOMPARE(values.last(), 95.0);
    for (qsizetype i = 1; i < values.size(); ++i)
        QVERIFY(values.at(i) > values.at(i - 1));
}

// Cancel asks even while a name is missing or the count is wrong; Yes closes and nothing is
// written. A folder that is not there cannot take the file, and the operator is told.
void TestWizard::cancelledOrFailedWriteNothing()
{
    const QHash<QString, QString> before = ini();
    click(W::Next);
    typeCount(QStringLiteral("3"), 3);
    program->messages.setNextAnswer(MessageBoxes::No);
    click(W::Cancel);
    QVERIFY2(wizard->isVisible() && program->messages.shown.size() == 1, "Cancel held by a name");
    typeCount(QStringLiteral("21"), 2);
    click(W::Cancel); // answered Yes
    QVERIFY2(program->messages.shown.size() == 2, "Cancel held by the count");
    QVERIFY(!wizard->isVisible());
    QCOMPARE(wizard->result(), int(QDialog::Rejected));
    QCOMPARE(ini(), before);

    wizard = std::make_unique<RestructureClasses>(*program->state);
    QVERIFY(showActive(wizard.get()));
    program->state->IniPath = program->file(QStringLiteral("Gone/Kolvane.ini"));
    goToPage(18);
    click(W::Finish);
    QCOMPARE(wizard->result(), int(QDialog::Accepted));
    QCOMPARE(program->messages.shown.size(), 3);
    QVERIFY(program->messages.texts().last().contains(program->state->IniPath));
    // What is held in memory is what the file holds: nothing.
    QVERIFY(program->state->classes.LevelsWithArms.isEmpty());
}

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
