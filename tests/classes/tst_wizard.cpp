#include "TestProgram.h"
#include "classes/ClassStructure.h"
#include "classes/RestructureClasses.h"
#include "platform/FirstEmptyBox.h"
#include "platform/KeyValueFile.h"

#include <QApplication>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QSignalSpy>
#include <QTest>
#include <memory>

using Pairs = QList<std::pair<QString, QString>>;

// The wizard driven page by page as an operator would.
class TestWizard : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void opensOnFirstLevel();
    void countZeroWritesOnlyItsKey();
    void emptyArmKeepsThePage_data();
    void emptyArmKeepsThePage();
    void countRuleKeepsFocus_data();
    void countRuleKeepsFocus();
    void fractionalCounts_data();
    void fractionalCounts();
    void countSelectedOnFocus();
    void lowerThenRaiseShowsNoLeftovers();
    void loweredCountKeepsOldKeys();
    void finishOnLastPageKeepsItsValues();
    void missingFileStartsEmpty();
    void progressBar();
    void cancelQuestion_data();
    void cancelQuestion();
    void failedWriteIsReported();
    void countAboveTwentyHeldToTwenty();
    void armBoxesReadAsGrid();

    void firstEmptyBox_data();
    void firstEmptyBox();

private:
    void open(bool writeFile = true);
    void writeSchool(const Pairs &extra = {});
    QLineEdit *num() const { return wizard->findChild<QLineEdit *>(QStringLiteral("txtNum")); }
    QLineEdit *box(int i) const
    {
        return wizard->findChild<QLineEdit *>(QStringLiteral("txtLevelName(%1)").arg(i));
    }
    QPushButton *nav(int i) const
    {
        return wizard->findChild<QPushButton *>(QStringLiteral("cmdNavigate(%1)").arg(i));
    }
    QString caption() const
    {
        return wizard->findChild<QLabel *>(QStringLiteral("lblNumClass"))->text();
    }
    int visibleBoxes() const;
    void typeCount(const QString &text);
    void typeArm(int i, const QString &name);
    void click(int button);
    void goToPage(int page);
    QString fileValue(const QString &key, bool *found = nullptr) const
    {
        return KeyValueFile(program->state->IniPath).read(key, found);
    }

    std::unique_ptr<TestProgram> program;
    std::unique_ptr<RestructureClasses> wizard;
};

void TestWizard::init()
{
    program = std::make_unique<TestProgram>();
}

void TestWizard::cleanup()
{
    wizard.reset();
    program.reset();
}

// Every level at 0 but a few; Primary1 has five arms.
void TestWizard::writeSchool(const Pairs &extra)
{
    Pairs pairs = {{QStringLiteral("CurrentTerm"), QStringLiteral("First Term_2026/2027")}};
    for (const QString &level : ClassStructure::levelNames())
        pairs.append({ClassStructure::countKey(level), QStringLiteral("0")});
    pairs.append({QStringLiteral("NumberOfKinderGarten1"), QStringLiteral("2")});
    pairs.append({QStringLiteral("KinderGarten1(1)"), QStringLiteral("Tulip")});
    pairs.append({QStringLiteral("KinderGarten1(2)"), QStringLiteral("Rose")});
    pairs.append({QStringLiteral("NumberOfPrimary1"), QStringLiteral("5")});
    const QStringList colours = {"Blue", "Red", "Green", "Gold", "White"};
    for (int i = 0; i < colours.size(); ++i)
        pairs.append({ClassStructure::armKey(QStringLiteral("Primary1"), i + 1), colours.at(i)});
    pairs.append(extra);
    program->writeIni(pairs);
}

void TestWizard::open(bool writeFile)
{
    if (writeFile && !QFile::exists(program->file(QStringLiteral("Progs/Kolvane.ini"))))
        writeSchool();
    program->prepareState();
    wizard = std::make_unique<RestructureClasses>(*program->state);
    wizard->show();
    QVERIFY(QTest::qWaitForWindowExposed(wizard.get()));
    wizard->activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(wizard.get()));
}

int TestWizard::visibleBoxes() const
{
    int n = 0;
    for (int i = 0; i < 20; ++i) {
        if (box(i)->isVisible()) {
            // Visible boxes are always the first ones.
            if (i != n)
                return -1;
            ++n;
        }
    }
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
    QTest::mouseClick(box(i), Qt::LeftButton);
    QVERIFY(box(i)->hasFocus());
    QTest::keyClick(box(i), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box(i), name);
}

void TestWizard::click(int button)
{
    QVERIFY(nav(button)->isVisible());
    QTest::mouseClick(nav(button), Qt::LeftButton);
}

void TestWizard::goToPage(int page)
{
    while (wizard->page() < page) {
        const int before = wizard->page();
        click(RestructureClasses::Next);
        QCOMPARE(wizard->page(), before + 1);
    }
}

void TestWizard::opensOnFirstLevel()
{
    open();
    QCOMPARE(wizard->windowTitle(), QStringLiteral("Restructure Classes Wizard"));
    QCOMPARE(wizard->page(), 0);
    QCOMPARE(caption(), QStringLiteral("Number of arms in KinderGarten1"));
    QCOMPARE(num()->text(), QStringLiteral("2"));
    QCOMPARE(box(0)->text(), QStringLiteral("Tulip"));
    QCOMPARE(box(1)->text(), QStringLiteral("Rose"));
    QCOMPARE(visibleBoxes(), 2);
    QVERIFY(nav(0)->isVisible() && nav(2)->isVisible());
    QVERIFY(!nav(1)->isVisible() && !nav(3)->isVisible());
    // Tab walks the count, the shown arms, then the buttons.
    QTRY_VERIFY(num()->hasFocus());
    QTest::keyClick(num(), Qt::Key_Tab);
    QVERIFY(box(0)->hasFocus());
    QTest::keyClick(box(0), Qt::Key_Tab);
    QVERIFY(box(1)->hasFocus());
    QTest::keyClick(box(1), Qt::Key_Tab);
    QVERIFY(nav(0)->hasFocus());
    QTest::keyClick(nav(0), Qt::Key_Tab);
    QVERIFY(nav(2)->hasFocus());
    // Each level in turn, with the buttons of its page.
    for (int page = 1; page < ClassStructure::LevelCount; ++page) {
        click(RestructureClasses::Next);
        QCOMPARE(caption(),
                 QStringLiteral("Number of arms in ") + ClassStructure::levelNames().at(page));
        const bool last = page == ClassStructure::LevelCount - 1;
        QVERIFY(nav(0)->isVisible() && nav(1)->isVisible());
        QCOMPARE(nav(2)->isVisible(), !last);
        QCOMPARE(nav(3)->isVisible(), last);
    }
    QCOMPARE(num()->text(), QStringLiteral("0"));
    QCOMPARE(visibleBoxes(), 0);
    click(RestructureClasses::Back);
    QCOMPARE(wizard->page(), 17);
}

void TestWizard::countZeroWritesOnlyItsKey()
{
    open();
    typeCount(QStringLiteral("0"));
    QCOMPARE(visibleBoxes(), 0);
    // The names that were showing need not be named: the check is skipped.
    goToPage(18);
    click(RestructureClasses::Finish);
    QCOMPARE(wizard->result(), int(QDialog::Accepted));
    QCOMPARE(fileValue(QStringLiteral("NumberOfKinderGarten1")), QStringLiteral("0"));
    // The old arm keys stay as they were; no arm of the level was written.
    QCOMPARE(fileValue(QStringLiteral("KinderGarten1(1)")), QStringLiteral("Tulip"));
    QCOMPARE(wizard->progressValues().size(), 19 + 5);
    const ClassStructure &c = program->state->classes;
    QCOMPARE(int(c.NumberOfArms[0]), 0);
    QCOMPARE(c.LevelsWithArms, QStringList{QStringLiteral("Primary1")});
}

void TestWizard::emptyArmKeepsThePage_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("button");
    QTest::newRow("Next") << 1 << int(RestructureClasses::Next);
    QTest::newRow("Back") << 1 << int(RestructureClasses::Back);
    QTest::newRow("Finish") << 18 << int(RestructureClasses::Finish);
}

void TestWizard::emptyArmKeepsThePage()
{
    QFETCH(int, page);
    QFETCH(int, button);
    open();
    const QByteArray before = [this] {
        QFile f(program->state->IniPath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    goToPage(page);
    typeCount(QStringLiteral("3"));
    QCOMPARE(visibleBoxes(), 3);
    typeArm(0, QStringLiteral("Lily"));
    typeArm(2, QStringLiteral("Iris"));
    click(button);
    QCOMPARE(wizard->page(), page);
    QVERIFY(box(1)->hasFocus());
    QVERIFY(wizard->isVisible());
    for (int i = 0; i < 4; ++i)
        QCOMPARE(nav(i)->isVisible(), i == 0 || i == 1 || (i == 2) != (page == 18));
    QVERIFY(wizard->progressValues().isEmpty());
    QFile f(program->state->IniPath);
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), before);

    // Cancel still asks; No leaves the page as it was.
    program->messages.setNextAnswer(MessageBoxes::No);
    click(RestructureClasses::Cancel);
    QCOMPARE(program->messages.texts(),
             QStringList{QStringLiteral("Are you sure you want to\r\nAbort the Restructure "
                                        "Classes Wizard?")});
    QCOMPARE(program->messages.shown.first().buttons,
             MessageBoxes::Buttons(MessageBoxes::Yes) | MessageBoxes::No);
    QVERIFY(wizard->isVisible());
    QCOMPARE(wizard->page(), page);
    QCOMPARE(box(0)->text(), QStringLiteral("Lily"));
}

void TestWizard::countRuleKeepsFocus_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<bool>("mayLeave");
    QTest::addColumn<int>("visible");
    // Visibility is that of the count 2 typed before.
    QTest::newRow("above 20") << "21" << false << 2;
    QTest::newRow("just above 20") << "20.4" << false << 20;
    QTest::newRow("below 0") << "-1" << false << 2;
    QTest::newRow("letters") << "many" << false << 2;
    // The 4 typed on the way shows four boxes; the word leaves them.
    QTest::newRow("number and word") << "4 arms" << false << 4;
    QTest::newRow("empty") << "" << false << 2;
    QTest::newRow("twenty") << "20" << true << 20;
    QTest::newRow("blanks around") << " 4 " << true << 4;
}

void TestWizard::countRuleKeepsFocus()
{
    QFETCH(QString, text);
    QFETCH(bool, mayLeave);
    QFETCH(int, visible);
    open();
    goToPage(1);
    typeCount(QStringLiteral("2"));
    QCOMPARE(visibleBoxes(), 2);
    typeCount(text);
    QCOMPARE(visibleBoxes(), visible);
    QTest::keyClick(num(), Qt::Key_Tab);
    QCOMPARE(num()->hasFocus(), !mayLeave);
    if (mayLeave)
        return;
    QTest::mouseClick(box(0), Qt::LeftButton);
    QVERIFY(num()->hasFocus());
    QTest::mouseClick(nav(RestructureClasses::Next), Qt::LeftButton);
    QTest::mouseClick(nav(RestructureClasses::Back), Qt::LeftButton);
    QCOMPARE(wizard->page(), 1);
    QVERIFY(num()->hasFocus());
    // Cancel is the one way out.
    program->messages.setNextAnswer(MessageBoxes::Yes);
    click(RestructureClasses::Cancel);
    QCOMPARE(program->messages.shown.size(), 1);
    QCOMPARE(wizard->result(), int(QDialog::Rejected));
    QVERIFY(!wizard->isVisible());
}

void TestWizard::fractionalCounts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("shown");
    QTest::addColumn<int>("stored");
    QTest::newRow("2.5") << "2.5" << 2 << 2;
    QTest::newRow("3.5") << "3.5" << 4 << 3;
}

void TestWizard::fractionalCounts()
{
    QFETCH(QString, text);
    QFETCH(int, shown);
    QFETCH(int, stored);
    open();
    goToPage(2);
    typeCount(text);
    QCOMPARE(visibleBoxes(), shown);
    // Every shown box must be named before the page can be left.
    for (int i = 0; i < shown; ++i) {
        click(RestructureClasses::Next);
        QCOMPARE(wizard->page(), 2);
        QVERIFY(box(i)->hasFocus());
        typeArm(i, QStringLiteral(" Arm %1 ").arg(i + 1));
    }
    click(RestructureClasses::Next);
    QCOMPARE(wizard->page(), 3);
    click(RestructureClasses::Back);
    QCOMPARE(num()->text(), QString::number(stored));
    QCOMPARE(visibleBoxes(), stored);
    goToPage(18);
    click(RestructureClasses::Finish);
    QCOMPARE(fileValue(QStringLiteral("NumberOfNursery1")), QString::number(stored));
    for (int k = 1; k <= stored; ++k)
        QCOMPARE(fileValue(QStringLiteral("Nursery1(%1)").arg(k)), QStringLiteral("Arm %1").arg(k));
    bool found = true;
    fileValue(QStringLiteral("Nursery1(%1)").arg(stored + 1), &found);
    QVERIFY(!found);
    QCOMPARE(program->state->classes.ClassArms[2].size(), stored);
}

void TestWizard::countSelectedOnFocus()
{
    open();
    QTest::mouseClick(box(0), Qt::LeftButton);
    QTest::mouseClick(num(), Qt::LeftButton);
    QTRY_COMPARE(num()->selectedText(), QStringLiteral("2"));
    // Typing replaces the count.
    QTest::keyClicks(num(), QStringLiteral("1"));
    QCOMPARE(num()->text(), QStringLiteral("1"));
    QCOMPARE(visibleBoxes(), 1);
}

void TestWizard::lowerThenRaiseShowsNoLeftovers()
{
    open();
    goToPage(5);
    QCOMPARE(num()->text(), QStringLiteral("5"));
    typeCount(QStringLiteral("2"));
    click(RestructureClasses::Next);
    click(RestructureClasses::Back);
    QCOMPARE(num()->text(), QStringLiteral("2"));
    QCOMPARE(visibleBoxes(), 2);
    typeCount(QStringLiteral("4"));
    QCOMPARE(visibleBoxes(), 4);
    QCOMPARE(box(0)->text(), QStringLiteral("Blue"));
    QCOMPARE(box(1)->text(), QStringLiteral("Red"));
    QVERIFY(box(2)->text().isEmpty());
    QVERIFY(box(3)->text().isEmpty());
}

void TestWizard::loweredCountKeepsOldKeys()
{
    open();
    goToPage(5);
    typeCount(QStringLiteral("3"));
    goToPage(18);
    click(RestructureClasses::Finish);
    QCOMPARE(fileValue(QStringLiteral("NumberOfPrimary1")), QStringLiteral("3"));
    QCOMPARE(fileValue(QStringLiteral("Primary1(4)")), QStringLiteral("Gold"));
    QCOMPARE(fileValue(QStringLiteral("Primary1(5)")), QStringLiteral("White"));
    const ClassStructure &c = program->state->classes;
    QCOMPARE(int(c.NumberOfArms[5]), 3);
    QCOMPARE(c.ClassArms[5], (QStringList{"Blue", "Red", "Green"}));
    // The term is not the wizard's to change.
    QCOMPARE(fileValue(QStringLiteral("CurrentTerm")), QStringLiteral("First Term_2026/2027"));
}

void TestWizard::finishOnLastPageKeepsItsValues()
{
    open();
    goToPage(18);
    typeCount(QStringLiteral("2"));
    typeArm(0, QStringLiteral("  Gold "));
    typeArm(1, QStringLiteral("Silver  Star"));
    click(RestructureClasses::Finish);
    QCOMPARE(wizard->result(), int(QDialog::Accepted));
    QVERIFY(!wizard->isVisible());
    for (int i = 0; i < 4; ++i)
        QVERIFY(nav(i)->isHidden());
    QCOMPARE(fileValue(QStringLiteral("NumberOfSecondary8")), QStringLiteral("2"));
    QCOMPARE(fileValue(QStringLiteral("Secondary8(1)")), QStringLiteral("Gold"));
    QCOMPARE(fileValue(QStringLiteral("Secondary8(2)")), QStringLiteral("Silver  Star"));
    const ClassStructure &c = program->state->classes;
    QCOMPARE(c.ClassArms[18], (QStringList{"Gold", "Silver  Star"}));
    QCOMPARE(c.LevelsWithArms.last(), QStringLiteral("Secondary8"));
    QVERIFY(program->messages.shown.isEmpty());
}

void TestWizard::missingFileStartsEmpty()
{
    open(false);
    QVERIFY(!QFile::exists(program->state->IniPath));
    nav(RestructureClasses::Cancel)->setEnabled(false);
    // With Cancel disabled, Esc does not close the wizard either.
    QTest::keyClick(num(), Qt::Key_Escape);
    QVERIFY(wizard->isVisible());
    QVERIFY(program->messages.shown.isEmpty());
    for (int page = 0; page < ClassStructure::LevelCount; ++page) {
        goToPage(page);
        QCOMPARE(num()->text(), QStringLiteral("0"));
        QCOMPARE(visibleBoxes(), 0);
    }
    click(RestructureClasses::Finish);
    QCOMPARE(wizard->result(), int(QDialog::Accepted));
    const QHash<QString, QString> all = KeyValueFile(program->state->IniPath).readAll();
    QCOMPARE(all.size(), ClassStructure::LevelCount);
    for (const QString &level : ClassStructure::levelNames())
        QCOMPARE(all.value(ClassStructure::countKey(level)), QStringLiteral("0"));
    QVERIFY(program->state->classes.LevelsWithArms.isEmpty());
}

void TestWizard::progressBar()
{
    open();
    auto *bar = wizard->findChild<QProgressBar *>(QStringLiteral("ProgressBar1"));
    QVERIFY(bar);
    QCOMPARE(bar->minimum(), 0);
    QCOMPARE(bar->maximum(), 100);
    QSignalSpy moved(bar, &QProgressBar::valueChanged);
    goToPage(18);
    click(RestructureClasses::Finish);
    const QList<double> &values = wizard->progressValues();
    // One position per write: 19 counts and 2 + 5 arms.
    QCOMPARE(values.size(), 19 + 7);
    // KinderGarten1 has two arms: its count is written at 95 x (1 + 1/3) / 20.
    QCOMPARE(values.first(), 95.0 * (1.0 + 1.0 / 3.0) / 20.0);
    QVERIFY(values.first() > 5 && values.first() < 10);
    QCOMPARE(values.at(2), 95.0 * 2.0 / 20.0);
    QCOMPARE(values.last(), 95.0);
    for (qsizetype i = 1; i < values.size(); ++i)
        QVERIFY(values.at(i) > values.at(i - 1));
    QCOMPARE(bar->value(), 95);
    QVERIFY(moved.size() > 10);
    QCOMPARE(moved.first().first().toInt(), 6);
}

void TestWizard::cancelQuestion_data()
{
    QTest::addColumn<bool>("yes");
    QTest::addColumn<bool>("closeBox");
    QTest::newRow("Esc, Yes closes") << true << false;
    QTest::newRow("Esc, No stays") << false << false;
    QTest::newRow("close box, Yes closes") << true << true;
    QTest::newRow("close box, No stays") << false << true;
}

void TestWizard::cancelQuestion()
{
    QFETCH(bool, yes);
    QFETCH(bool, closeBox);
    open();
    goToPage(5);
    typeCount(QStringLiteral("1"));
    click(RestructureClasses::Next);
    program->messages.setNextAnswer(yes ? MessageBoxes::Yes : MessageBoxes::No);
    // Esc and the close box ask the same question as the button.
    if (closeBox)
        wizard->close();
    else
        QTest::keyClick(num(), Qt::Key_Escape);
    QCOMPARE(program->messages.shown.size(), 1);
    QCOMPARE(program->messages.shown.first().icon, MessageBoxes::Icon::Question);
    QCOMPARE(wizard->isVisible(), !yes);
    QCOMPARE(fileValue(QStringLiteral("NumberOfPrimary1")), QStringLiteral("5"));
    QCOMPARE(int(program->state->classes.NumberOfArms[5]), 5);
    QCOMPARE(wizard->page(), 6);
}

void TestWizard::failedWriteIsReported()
{
    open();
    // A folder that is not there cannot take the file.
    program->state->IniPath = program->file(QStringLiteral("Gone/Kolvane.ini"));
    goToPage(18);
    click(RestructureClasses::Finish);
    QCOMPARE(program->messages.shown.size(), 1);
    const auto &shown = program->messages.shown.first();
    QVERIFY(shown.text.startsWith(QStringLiteral("The class structure could not be saved to")));
    QVERIFY(shown.text.contains(program->state->IniPath));
    QCOMPARE(shown.icon, MessageBoxes::Icon::Exclamation);
    QCOMPARE(wizard->result(), int(QDialog::Accepted));
    // What is held in memory is what the file holds: nothing.
    QVERIFY(program->state->classes.LevelsWithArms.isEmpty());
}

void TestWizard::countAboveTwentyHeldToTwenty()
{
    Pairs extra = {{QStringLiteral("NumberOfPrimary2"), QStringLiteral("25")}};
    for (int k = 1; k <= 25; ++k)
        extra.append(
            {ClassStructure::armKey(QStringLiteral("Primary2"), k), QStringLiteral("P%1").arg(k)});
    writeSchool(extra);
    open();
    goToPage(6);
    QCOMPARE(num()->text(), QStringLiteral("20"));
    QCOMPARE(visibleBoxes(), 20);
    QCOMPARE(box(19)->text(), QStringLiteral("P20"));
}

void TestWizard::armBoxesReadAsGrid()
{
    open();
    goToPage(5);
    typeCount(QStringLiteral("20"));
    QWidget *frame = wizard->findChild<QWidget *>(QStringLiteral("Frame1"));
    for (int i = 0; i < 20; ++i) {
        const QRect r = box(i)->geometry();
        QVERIFY(frame->rect().contains(r));
        if (i % 4)
            QVERIFY(r.left() > box(i - 1)->geometry().right());
        else
            QCOMPARE(r.left(), box(0)->geometry().left());
        QCOMPARE(r.top(), box(i - i % 4)->geometry().top());
        if (i >= 4)
            QVERIFY(r.top() > box(i - 4)->geometry().bottom());
        QVERIFY(box(i)->width() >= box(i)->fontMetrics().horizontalAdvance(u'M') * 8);
    }
    // The introduction is shown whole.
    auto *intro = wizard->findChild<QLabel *>(QStringLiteral("Label1"));
    QVERIFY(intro->height() >= intro->heightForWidth(intro->width()));
    const QString grab = qEnvironmentVariable("KOLVANE_GRAB_DIR");
    if (!grab.isEmpty())
        QVERIFY(wizard->grab().save(grab + QStringLiteral("/wizard.png")));
    // Finish stands where Next stood.
    const QRect next = nav(RestructureClasses::Next)->geometry();
    typeCount(QStringLiteral("5"));
    goToPage(18);
    QCOMPARE(nav(RestructureClasses::Finish)->geometry().right(), next.right());
    QVERIFY(nav(RestructureClasses::Back)->geometry().right() < next.left());
    if (!grab.isEmpty())
        QVERIFY(wizard->grab().save(grab + QStringLiteral("/wizard-last.png")));
}

void TestWizard::firstEmptyBox_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("first");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<int>("hidden");
    QTest::addColumn<int>("result");
    QTest::addColumn<bool>("focused");
    const QStringList named = {"A", "B", "C", "D"};
    QTest::newRow("all named") << named << 4 << 0 << false << -1 << -1 << false;
    QTest::newRow("blanks only") << QStringList{"A", "  ", "C", ""} << 4 << 0 << false << -1 << 1
                                 << true;
    QTest::newRow("from an offset")
        << QStringList{"", "B", "", "D"} << 2 << 1 << false << -1 << 2 << true;
    QTest::newRow("before the range")
        << QStringList{"", "B", "C", "D"} << 3 << 1 << false << -1 << -1 << false;
    QTest::newRow("numeric") << QStringList{"12", " 3.5 ", "4x", "7"} << 4 << 0 << true << -1 << 2
                             << true;
    QTest::newRow("numeric passes")
        << QStringList{"12", "0", "-4", "1e3"} << 4 << 0 << true << -1 << -1 << false;
    QTest::newRow("hidden box gets no focus")
        << QStringList{"A", "", "C", "D"} << 4 << 0 << false << 1 << 1 << false;
    QTest::newRow("past the end") << named << 10 << 2 << false << -1 << -1 << false;
    QTest::newRow("count 0") << QStringList{"", "", "", ""} << 0 << 0 << false << -1 << -1 << false;
}

void TestWizard::firstEmptyBox()
{
    QFETCH(QStringList, texts);
    QFETCH(int, count);
    QFETCH(int, first);
    QFETCH(bool, numeric);
    QFETCH(int, hidden);
    QFETCH(int, result);
    QFETCH(bool, focused);
    QWidget form;
    auto *other = new QLineEdit(&form);
    QList<QLineEdit *> boxes;
    for (int i = 0; i < texts.size(); ++i) {
        auto *b = new QLineEdit(texts.at(i), &form);
        b->move(0, 30 * (i + 1));
        boxes.append(b);
    }
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    if (hidden >= 0)
        boxes.at(hidden)->hide();
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    QCOMPARE(FirstEmptyBox(boxes, count, first, numeric), result);
    if (focused)
        QVERIFY(boxes.at(result)->hasFocus());
    else
        QVERIFY(other->hasFocus());
}

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
