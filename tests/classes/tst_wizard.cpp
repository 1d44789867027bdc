#include "TestProgram.h"
#include "classes/ClassStructure.h"
#include "classes/RestructureClasses.h"
#include "platform/FirstEmptyBox.h"
#include "platform/KeyValueFile.h"

#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QTest>
#include <memory>

using Pairs = QList<std::pair<QString, QString>>;
using W = RestructureClasses;

// The wizard driven page by page as an operator would.
class TestWizard : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void cleanup();

    void walksEveryLevel();
    void finishWrites_data();
    void finishWrites();
    void emptyArmKeepsThePage_data();
    void emptyArmKeepsThePage();
    void countRuleKeepsFocus_data();
    void countRuleKeepsFocus();
    void fractionalCounts_data();
    void fractionalCounts();
    void lowerThenRaiseShowsNoLeftovers();
    void missingFileStartsEmpty();
    void progressBar();
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
    int visibleBoxes() const;
    void typeCount(const QString &text);
    void typeArm(int i, const QString &name);
    void click(int button);
    void goToPage(int page);
    void finish()
    {
        goToPage(18);
        click(W::Finish);
    }
    QString fileValue(const QString &key, bool *found = nullptr) const
    {
        return KeyValueFile(program->state->IniPath).read(key, found);
    }
    QByteArray fileBytes() const
    {
        QFile f(program->state->IniPath);
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }
    const ClassStructure &classes() const { return program->state->classes; }

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

// Every level at 0 but KinderGarten1 (two arms) and Primary1 (five).
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

// The number of visible boxes; -1 when they are not the first ones.
int TestWizard::visibleBoxes() const
{
    int n = 0;
    for (int i = 0; i < 20; ++i) {
        if (box(i)->isVisible()) {
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
        click(W::Next);
        QCOMPARE(wizard->page(), before + 1);
    }
}

void TestWizard::walksEveryLevel()
{
    open();
    auto caption = [this] {
        return wizard->findChild<QLabel *>(QStringLiteral("lblNumClass"))->text();
    };
    QCOMPARE(wizard->windowTitle(), QStringLiteral("Restructure Classes Wizard"));
    QCOMPARE(caption(), QStringLiteral("Number of arms in KinderGarten1"));
    QCOMPARE(num()->text(), QStringLiteral("2"));
    QCOMPARE(box(1)->text(), QStringLiteral("Rose"));
    QCOMPARE(visibleBoxes(), 2);
    // Tab walks the count, the shown arms, then the shown buttons.
    QTRY_VERIFY(num()->hasFocus());
    for (QWidget *next :
         {static_cast<QWidget *>(box(0)), static_cast<QWidget *>(box(1)),
          static_cast<QWidget *>(nav(W::Cancel)), static_cast<QWidget *>(nav(W::Next))}) {
        QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
        QCOMPARE(QApplication::focusWidget(), next);
    }
    // Each level in turn, with the buttons of its page.
    for (int page = 0; page < ClassStructure::LevelCount; ++page) {
        goToPage(page);
        QCOMPARE(caption(),
                 QStringLiteral("Number of arms in ") + ClassStructure::levelNames().at(page));
        const bool last = page == ClassStructure::LevelCount - 1;
        QVERIFY(nav(W::Cancel)->isVisible());
        QCOMPARE(nav(W::Back)->isVisible(), page > 0);
        QCOMPARE(nav(W::Next)->isVisible(), !last);
        QCOMPARE(nav(W::Finish)->isVisible(), last);
    }
    click(W::Back);
    QCOMPARE(wizard->page(), 17);
}

void TestWizard::finishWrites_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<QString>("count");
    QTest::addColumn<QStringList>("typed");
    QTest::addColumn<QStringList>("file"); // key=value lines the file must hold
    QTest::addColumn<QStringList>("arms"); // the level's arms after the reload
    QTest::addColumn<QStringList>("levels");
    // The names that were showing need not be named: the check is skipped,
    // and no arm of the level is written.
    QTest::newRow("count 0") << 0 << "0" << QStringList{}
                             << QStringList{"NumberOfKinderGarten1=0", "KinderGarten1(1)=Tulip"}
                             << QStringList{} << QStringList{"Primary1"};
    // Lowering keeps the old keys; the term is not the wizard's to change.
    QTest::newRow("lowered from 5 to 3")
        << 5 << "3" << QStringList{}
        << QStringList{"NumberOfPrimary1=3", "Primary1(4)=Gold", "Primary1(5)=White",
                       "CurrentTerm=First Term_2026/2027"}
        << QStringList{"Blue", "Red", "Green"} << QStringList{"KinderGarten1", "Primary1"};
    QTest::newRow("typed on the last page")
        << 18 << "2" << QStringList{"  Gold ", "Silver  Star"}
        << QStringList{"NumberOfSecondary8=2", "Secondary8(1)=Gold", "Secondary8(2)=Silver  Star"}
        << QStringList{"Gold", "Silver  Star"}
        << QStringList{"KinderGarten1", "Primary1", "Secondary8"};
}

void TestWizard::finishWrites()
{
    QFETCH(int, page);
    QFETCH(QString, count);
    QFETCH(QStringList, typed);
    QFETCH(QStringList, file);
    QFETCH(QStringList, arms);
    QFETCH(QStringList, levels);
    open();
    goToPage(page);
    typeCount(count);
    QCOMPARE(visibleBoxes(), count.toInt());
    for (int i = 0; i < typed.size(); ++i)
        typeArm(i, typed.at(i));
    finish();
    QCOMPARE(wizard->result(), int(QDialog::Accepted));
    QVERIFY(!wizard->isVisible());
    for (int i = 0; i < 4; ++i)
        QVERIFY(nav(i)->isHidden());
    for (const QString &line : file)
        QCOMPARE(fileValue(line.section(u'=', 0, 0)), line.section(u'=', 1));
    QCOMPARE(int(classes().NumberOfArms[page]), count.toInt());
    QCOMPARE(classes().ClassArms[page], arms);
    QCOMPARE(classes().LevelsWithArms, levels);
    QVERIFY(program->messages.shown.isEmpty());
}

void TestWizard::emptyArmKeepsThePage_data()
{
    QTest::addColumn<int>("page");
    QTest::addColumn<int>("button");
    QTest::addColumn<QString>("cancel"); // how the operator then tries to leave
    QTest::newRow("Next, Cancel button") << 1 << int(W::Next) << "button";
    QTest::newRow("Back, Esc") << 1 << int(W::Back) << "escape";
    QTest::newRow("Finish, close box") << 18 << int(W::Finish) << "close";
}

void TestWizard::emptyArmKeepsThePage()
{
    QFETCH(int, page);
    QFETCH(int, button);
    QFETCH(QString, cancel);
    open();
    const QByteArray before = fileBytes();
    goToPage(page);
    typeCount(QStringLiteral("3"));
    QCOMPARE(visibleBoxes(), 3);
    typeArm(0, QStringLiteral("Lily"));
    typeArm(2, QStringLiteral("Iris"));
    click(button);
    QCOMPARE(wizard->page(), page);
    QVERIFY(box(1)->hasFocus());
    QVERIFY(nav(button)->isVisible());
    QVERIFY(wizard->progressValues().isEmpty());
    QCOMPARE(fileBytes(), before);

    // Cancel, Esc and the close box still ask; No leaves the page as it was.
    program->messages.setNextAnswer(MessageBoxes::No);
    if (cancel == QLatin1String("button"))
        click(W::Cancel);
    else if (cancel == QLatin1String("escape"))
        QTest::keyClick(box(1), Qt::Key_Escape);
    else
        wizard->close();
    QCOMPARE(program->messages.texts(),
             QStringList{QStringLiteral("Are you sure you want to\r\nAbort the Restructure "
                                        "Classes Wizard?")});
    QCOMPARE(program->messages.shown.first().buttons,
             MessageBoxes::Buttons(MessageBoxes::Yes) | MessageBoxes::No);
    QCOMPARE(program->messages.shown.first().icon, MessageBoxes::Icon::Question);
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
    QTest::mouseClick(nav(W::Next), Qt::LeftButton);
    QTest::mouseClick(nav(W::Back), Qt::LeftButton);
    QCOMPARE(wizard->page(), 1);
    QVERIFY(num()->hasFocus());
    // Cancel is the one way out.
    program->messages.setNextAnswer(MessageBoxes::Yes);
    click(W::Cancel);
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
        click(W::Next);
        QCOMPARE(wizard->page(), 2);
        QVERIFY(box(i)->hasFocus());
        typeArm(i, QStringLiteral(" Arm %1 ").arg(i + 1));
    }
    click(W::Next);
    click(W::Back);
    QCOMPARE(num()->text(), QString::number(stored));
    QCOMPARE(visibleBoxes(), stored);
    finish();
    QCOMPARE(fileValue(QStringLiteral("NumberOfNursery1")), QString::number(stored));
    for (int k = 1; k <= stored; ++k)
        QCOMPARE(fileValue(QStringLiteral("Nursery1(%1)").arg(k)), QStringLiteral("Arm %1").arg(k));
    bool found = true;
    fileValue(QStringLiteral("Nursery1(%1)").arg(stored + 1), &found);
    QVERIFY(!found);
    QCOMPARE(classes().ClassArms[2].size(), stored);
}

void TestWizard::lowerThenRaiseShowsNoLeftovers()
{
    open();
    goToPage(5);
    // A click into the count selects it; typing replaces it.
    QTest::mouseClick(box(0), Qt::LeftButton);
    QTest::mouseClick(num(), Qt::LeftButton);
    QTRY_COMPARE(num()->selectedText(), QStringLiteral("5"));
    QTest::keyClicks(num(), QStringLiteral("2"));
    QCOMPARE(num()->text(), QStringLiteral("2"));
    click(W::Next);
    click(W::Back);
    QCOMPARE(visibleBoxes(), 2);
    typeCount(QStringLiteral("4"));
    QCOMPARE(visibleBoxes(), 4);
    QCOMPARE(box(1)->text(), QStringLiteral("Red"));
    QVERIFY(box(2)->text().isEmpty());
    QVERIFY(box(3)->text().isEmpty());
}

void TestWizard::missingFileStartsEmpty()
{
    open(false);
    QVERIFY(!QFile::exists(program->state->IniPath));
    nav(W::Cancel)->setEnabled(false);
    // With Cancel disabled, Esc does not close the wizard either.
    QTest::keyClick(num(), Qt::Key_Escape);
    QVERIFY(wizard->isVisible());
    QVERIFY(program->messages.shown.isEmpty());
    for (int page = 0; page < ClassStructure::LevelCount; ++page) {
        goToPage(page);
        QCOMPARE(num()->text(), QStringLiteral("0"));
        QCOMPARE(visibleBoxes(), 0);
    }
    click(W::Finish);
    QCOMPARE(wizard->result(), int(QDialog::Accepted));
    const QHash<QString, QString> all = KeyValueFile(program->state->IniPath).readAll();
    QCOMPARE(all.size(), ClassStructure::LevelCount);
    for (const QString &level : ClassStructure::levelNames())
        QCOMPARE(all.value(ClassStructure::countKey(level)), QStringLiteral("0"));
    QVERIFY(classes().LevelsWithArms.isEmpty());
}

void TestWizard::progressBar()
{
    open();
    auto *bar = wizard->findChild<QProgressBar *>(QStringLiteral("ProgressBar1"));
    QCOMPARE(bar->maximum(), 100);
    finish();
    const QList<double> &values = wizard->progressValues();
    // One position per write: 19 counts and 2 + 5 arms.
    QCOMPARE(values.size(), 19 + 7);
    // KinderGarten1 has two arms: its count is written at 95 x (1 + 1/3) / 20.
    QCOMPARE(values.first(), 95.0 * (1.0 + 1.0 / 3.0) / 20.0);
    QCOMPARE(values.at(2), 95.0 * 2.0 / 20.0);
    QCOMPARE(values.last(), 95.0);
    for (qsizetype i = 1; i < values.size(); ++i)
        QVERIFY(values.at(i) > values.at(i - 1));
    QCOMPARE(bar->value(), 95);
}

void TestWizard::failedWriteIsReported()
{
    open();
    // A folder that is not there cannot take the file.
    program->state->IniPath = program->file(QStringLiteral("Gone/Kolvane.ini"));
    finish();
    QCOMPARE(program->messages.shown.size(), 1);
    const auto &shown = program->messages.shown.first();
    QVERIFY(shown.text.startsWith(QStringLiteral("The class structure could not be saved to")));
    QVERIFY(shown.text.contains(program->state->IniPath));
    QCOMPARE(shown.icon, MessageBoxes::Icon::Exclamation);
    QCOMPARE(wizard->result(), int(QDialog::Accepted));
    // What is held in memory is what the file holds: nothing.
    QVERIFY(classes().LevelsWithArms.isEmpty());
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
    const QRect next = nav(W::Next)->geometry();
    typeCount(QStringLiteral("5"));
    goToPage(18);
    QCOMPARE(nav(W::Finish)->geometry().right(), next.right());
    QVERIFY(nav(W::Back)->geometry().right() < next.left());
}

void TestWizard::firstEmptyBox_data()
{
    QTest::addColumn<QStringList>("texts");
    QTest::addColumn<int>("count");
    QTest::addColumn<int>("first");
    QTest::addColumn<bool>("numeric");
    QTest::addColumn<int>("hidden");
    QTest::addColumn<int>("result"); // -1: none, and the focus stays put
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
        boxes.append(new QLineEdit(texts.at(i), &form));
        boxes.last()->move(0, 30 * (i + 1));
    }
    form.show();
    QVERIFY(QTest::qWaitForWindowActive(&form));
    if (hidden >= 0)
        boxes.at(hidden)->hide();
    other->setFocus();
    QTRY_VERIFY(other->hasFocus());
    QCOMPARE(FirstEmptyBox(boxes, count, first, numeric), result);
    QCOMPARE(focused ? boxes.at(result)->hasFocus() : other->hasFocus(), true);
}

QTEST_MAIN(TestWizard)
#include "tst_wizard.moc"
