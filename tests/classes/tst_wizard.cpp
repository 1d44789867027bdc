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
    void init() { program = std::make_unique<TestProgram>(); }
    void cleanup();

    void missingFileWalksEveryLevel();
    void finishWrites_data();
    void finishWrites();
    void pageIsHeld_data();
    void pageIsHeld();
    void armBoxesFollowTheCount();
    void progressAndFailedWrite_data();
    void progressAndFailedWrite();

private:
    void open(const Pairs &extra = {}, bool writeFile = true);
    QLineEdit *num() const { return widget<QLineEdit>(wizard.get(), "txtNum"); }
    QLineEdit *box(int i) const { return widget<QLineEdit>(wizard.get(), QStringLiteral("txtLevelName(%1)").arg(i)); }
    QPushButton *nav(int i) const { return widget<QPushButton>(wizard.get(), QStringLiteral("cmdNavigate(%1)").arg(i)); }
    int visibleBoxes() const;
    void typeCount(const QString &text);
    void typeArm(int i, const QString &name);
    void click(int button)
    {
        QVERIFY(nav(button)->isVisible());
        QTest::mouseClick(nav(button), Qt::LeftButton);
    }
    void goToPage(int page);
    void finish()
    {
        goToPage(18);
        click(W::Finish);
    }
    QHash<QString, QString> ini() const { return KeyValueFile(program->state->IniPath).readAll(); }
    const ClassStructure &classes() const { return program->state->classes; }

    std::unique_ptr<TestProgram> program;
    std::unique_ptr<RestructureClasses> wizard;
};

void TestWizard::cleanup()
{
    wizard.reset();
    program.reset();
}

// Every level at 0 but KinderGarten1 (Tulip, Rose) and Primary1 (five colours).
void TestWizard::open(const Pairs &extra, bool writeFile)
{
    if (writeFile) {
        Pairs pairs = {{QStringLiteral("CurrentTerm"), QStringLiteral("First Term_2026/2027")}};
        for (const QString &level : ClassStructure::levelNames())
            pairs.append({ClassStructure::countKey(level), QStringLiteral("0")});
        const QList<QStringList> arms = {{"KinderGarten1", "Tulip", "Rose"},
                                         {"Primary1", "Blue", "Red", "Green", "Gold", "White"}};
        for (const QStringList &level : arms) {
            const QString count = QString::number(level.size() - 1);
            pairs.append({ClassStructure::countKey(level.first()), count});
            for (int k = 1; k < level.size(); ++k)
                pairs.append({ClassStructure::armKey(level.first(), k), level.at(k)});
        }
        program->writeIni(pairs + extra);
    }
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

void TestWizard::typeCount(const QString &text)
{
    num()->setFocus();
    QTRY_VERIFY(num()->hasFocus());
    QTest::keyClick(num(), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClick(num(), Qt::Key_Delete);
    QTest::keyClicks(num(), text);
}

void TestWizard::typeArm(int i, const QString &name)
{
    retype(box(i), name);
    QVERIFY(box(i)->hasFocus());
}

void TestWizard::goToPage(int page)
{
    while (wizard->page() < page) {
        const int before = wizard->page();
        click(W::Next);
        QCOMPARE(wizard->page(), before + 1);
    }
}

// Cancel disabled, as when the file is missing at start-up: every page starts at 0 (what
// Finish writes), Back and Finish only where they lead somewhere.
void TestWizard::missingFileWalksEveryLevel()
{
    open({}, false);
    nav(W::Cancel)->setEnabled(false);
    // With Cancel disabled, Esc does not close the wizard either.
    QTest::keyClick(num(), Qt::Key_Escape);
    QVERIFY(wizard->isVisible());
    for (int page = 0; page < ClassStructure::LevelCount; ++page) {
        goToPage(page);
        QCOMPARE(nav(W::Back)->isVisible(), page > 0);
        QCOMPARE(nav(W::Finish)->isVisible(), page == ClassStructure::LevelCount - 1);
    }
    click(W::Finish);
    QCOMPARE(wizard->result(), int(QDialog::Accepted));
    const QHash<QString, QString> all = ini();
    QCOMPARE(all.size(), ClassStructure::LevelCount);
    for (const QString &level : ClassStructure::levelNames())
        QCOMPARE(all.value(ClassStructure::countKey(level)), QStringLiteral("0"));
    QVERIFY(classes().LevelsWithArms.isEmpty());
    QVERIFY(program->messages.shown.isEmpty());
}

void TestWizard::finishWrites_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("count");
    QTest::addColumn<int>("shown");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("file"); // key=value lines the file must hold; "key=": none
    QTest::addColumn<QStringList>("arms"); // the level's arms after the reload
    QTest::addColumn<QStringList>("levels");
    const QStringList kp = {"KinderGarten1", "Primary1"};
    // The names that were showing need not be named: the check is skipped,
    // and no arm of the level is written.
    QTest::newRow("count 0") << 0 << "0" << 0 << QStringList{}
                             << QStringList{"NumberOfKinderGarten1=0", "KinderGarten1(1)=Tulip"}
                             << QStringList{} << QStringList{"Primary1"};
    // Lowering keeps the old keys; the term is not the wizard's to change.
    QTest::newRow("lowered from 5 to 3")
        << 5 << "3" << 3 << QStringList{}
        << QStringList{"NumberOfPrimary1=3", "Primary1(4)=Gold", "Primary1(5)=White",
                       "CurrentTerm=First Term_2026/2027"}
        << QStringList{"Blue", "Red", "Green"} << kp;
    // A fraction is dropped when stored, though 3.5 shows (and asks for) four names.
    const QStringList knp = {"KinderGarten1", "Nursery1", "Primary1"};
    QTest::newRow("2.5 stores 2") << 2 << "2.5" << 2 << QStringList{" A ", "B"}
                                  << QStringList{"NumberOfNursery1=2", "Nursery1(2)=B",
                                                 "Nursery1(3)="}
                                  << QStringList{"A", "B"} << knp;
    QTest::newRow("3.5 stores 3") << 2 << "3.5" << 4 << QStringList{"A", "B", "C", "D"}
                                  << QStringList{"NumberOfNursery1=3", "Nursery1(3)=C",
                                                 "Nursery1(4)="}
                                  << QStringList{"A", "B", "C"} << knp;
    QTest::newRow("typed on the last page")
        << 18 << " 2 " << 2 << QStringList{"  Gold ", "Silver  Star"}
        << QStringList{"NumberOfSecondary8=2", "Secondary8(1)=Gold", "Secondary8(2)=Silver  Star"}
        << QStringList{"Gold", "Silver  Star"} << kp + QStringList{"Secondary8"};
}

void TestWizard::finishWrites()
{
    QFETCH(int, page);
    QFETCH(QString, count);
    QFETCH(int, shown);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, file);
    QFETCH(QStringList, arms);
    QFETCH(QStringList, levels);
    open();
    goToPage(page);
    typeCount(count);
    QCOMPARE(visibleBoxes(), shown);
    for (int i = 0; i < typed.size(); ++i)
        typeArm(i, typed.at(i));
    finish();
    QCOMPARE(wizard->result(), int(QDialog::Accepted));
    const QHash<QString, QString> all = ini();
    for (const QString &line : file)
        QCOMPARE(all.value(line.section(u'=', 0, 0)), line.section(u'=', 1));
    QCOMPARE(int(classes().NumberOfArms[page]), arms.size());
    QCOMPARE(classes().ClassArms[page], arms);
    QCOMPARE(classes().LevelsWithArms, levels);
    QVERIFY(program->messages.shown.isEmpty());
}

void TestWizard::pageIsHeld_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("count"); // typed over a count of 2
    QTest::addColumn<int>("visible");
    QTest::addColumn<QStringList>("names"); // "": not typed into
    QTest::addColumn<int>("button");
    QTest::addColumn<int>("held");      // the arm box keeping the focus; -1: the count
    QTest::addColumn<QString>("leave"); // how the operator then tries to leave
    QTest::addColumn<bool>("abort");
    const int next = W::Next, back = W::Back;
    const QStringList hole = {"Lily", " ", "Iris"}; // blanks only count as empty
    // A count that is not a number from 0 to 20 holds the focus; the boxes follow it as typed.
    QTest::newRow("count 21") << 1 << "21" << 2 << QStringList{} << next << -1 << "cancel" << true;
    QTest::newRow("count -1") << 1 << "-1" << 2 << QStringList{} << back << -1 << "close" << false;
    QTest::newRow("count empty") << 1 << "" << 2 << QStringList{} << next << -1 << "escape" << true;
    // An empty arm box among those shown holds the page, the focus going to it.
    QTest::newRow("arm empty, Next") << 1 << "3" << 3 << hole << next << 1 << "cancel" << false;
    QTest::newRow("arm empty, Back") << 1 << "3" << 3 << hole << back << 1 << "escape" << false;
    QTest::newRow("arm empty, Finish")
        << 18 << "3" << 3 << hole << int(W::Finish) << 1 << "close" << false;
    QTest::newRow("2.5 asks two names")
        << 2 << "2.5" << 2 << QStringList{"Lily"} << next << 1 << "cancel" << false;
    QTest::newRow("3.5 asks four names")
        << 2 << "3.5" << 4 << QStringList{"Lily", "Rose", "Iris"} << next << 3 << "escape" << false;
}

// Cancel, Esc and the close box still ask: Yes closes, No leaves the page as it was.
void TestWizard::pageIsHeld()
{
    QFETCH(int, page);
    QFETCH(QString, count);
    QFETCH(int, visible);
    QFETCH(QStringList, names);
    QFETCH(int, button);
    QFETCH(int, held);
    QFETCH(QString, leave);
    QFETCH(bool, abort);
    open();
    const QHash<QString, QString> before = ini();
    goToPage(page);
    typeCount(QStringLiteral("2"));
    typeCount(count);
    QCOMPARE(visibleBoxes(), visible);
    for (int i = 0; i < names.size(); ++i)
        if (!names.at(i).isEmpty())
            typeArm(i, names.at(i));
    click(button);
    QCOMPARE(wizard->page(), page);
    QWidget *focus = held < 0 ? static_cast<QWidget *>(num()) : box(held);
    QVERIFY(focus->hasFocus());
    if (held < 0) { // the count's own check holds the focus against Tab too
        QTest::keyClick(focus, Qt::Key_Tab);
        QVERIFY(focus->hasFocus());
    }

    program->messages.setNextAnswer(abort ? MessageBoxes::Yes : MessageBoxes::No);
    if (leave == QLatin1String("cancel"))
        click(W::Cancel);
    else if (leave == QLatin1String("escape"))
        QTest::keyClick(focus, Qt::Key_Escape);
    else
        wizard->close();
    QCOMPARE(program->messages.texts(),
             QStringList{QStringLiteral("Are you sure you want to\r\nAbort the Restructure "
                                        "Classes Wizard?")});
    QCOMPARE(wizard->isVisible(), !abort);
    QCOMPARE(wizard->result(), int(QDialog::Rejected));
    QCOMPARE(wizard->page(), page);
    QCOMPARE(ini(), before);
}

// Lowering then raising shows no old names; a hand-edited count above 20 is held to 20, its
// boxes in a grid.
void TestWizard::armBoxesFollowTheCount()
{
    Pairs extra = {{QStringLiteral("NumberOfPrimary2"), QStringLiteral("25")}};
    for (int k = 1; k <= 25; ++k)
        extra.append({ClassStructure::armKey(QStringLiteral("Primary2"), k), QString::number(k)});
    open(extra);
    goToPage(5);
    typeCount(QStringLiteral("2"));
    click(W::Next);
    QCOMPARE(num()->text(), QStringLiteral("20"));
    QCOMPARE(visibleBoxes(), 20);
    QCOMPARE(box(19)->text(), QStringLiteral("20"));
    // Four to a row, each in the frame, apart from its neighbours and wide enough.
    const QRect frame = widget(wizard.get(), "Frame1")->rect();
    for (int i = 0; i < 20; ++i) {
        const QRect r = box(i)->geometry();
        QVERIFY(frame.contains(r) && r.width() >= box(i)->fontMetrics().horizontalAdvance(u'M') * 8);
        QCOMPARE(r.top(), box(i - i % 4)->geometry().top());
        QVERIFY(i % 4 == 0 || r.left() > box(i - 1)->geometry().right());
        QVERIFY(i < 4 || r.top() > box(i - 4)->geometry().bottom());
    }
    grabPng(wizard.get());
    click(W::Back);
    QCOMPARE(visibleBoxes(), 2);
    typeCount(QStringLiteral("4"));
    QCOMPARE(visibleBoxes(), 4);
    QCOMPARE(box(1)->text(), QStringLiteral("Red"));
    QVERIFY(box(2)->text().isEmpty() && box(3)->text().isEmpty());
}

void TestWizard::progressAndFailedWrite_data()
{
    QTest::addColumn<bool>("gone");
    QTest::newRow("written") << false;
    // A folder that is not there cannot take the file.
    QTest::newRow("folder gone") << true;
}

void TestWizard::progressAndFailedWrite()
{
    QFETCH(bool, gone);
    open();
    if (gone)
        program->state->IniPath = program->file(QStringLiteral("Gone/Kolvane.ini"));
    finish();
    QCOMPARE(wizard->result(), int(QDialog::Accepted));
    const QList<double> &values = wizard->progressValues();
    // One position per write: 19 counts and 2 + 5 arms.
    QCOMPARE(values.size(), 19 + 7);
    // KinderGarten1 has two arms: its count is written at 95 x (1 + 1/3) / 20.
    QCOMPARE(values.first(), 95.0 * (1.0 + 1.0 / 3.0) / 20.0);
    QCOMPARE(values.last(), 95.0);
    for (qsizetype i = 1; i < values.size(); ++i)
        QVERIFY(values.at(i) > values.at(i - 1));
    QCOMPARE(program->messages.shown.size(), gone ? 1 : 0);
    if (!gone)
        return;
    QVERIFY(program->messages.texts().first().contains(program->state->IniPath));
    // What is held in memory is what the file holds: nothing.
    QVERIFY(classes().LevelsWithArms.isEmpty());
}

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
