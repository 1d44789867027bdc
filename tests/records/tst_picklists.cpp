#include "TestProgram.h"
#include "classes/ClassStructure.h"
#include "records/PickListItems.h"
#include "records/PickLists.h"

#include <QComboBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>

class TestPickLists : public QObject
{
    Q_OBJECT
private slots:
    void fixedLists_data();
    void fixedLists();
    void secondCallAppends_data();
    void secondCallAppends();
    void classLevelsFromStructure();
    void unknownBoxUntouched();
    void stateTakesTypedText();

    void armsByLevelText_data();
    void armsByLevelText();
    void armReselectedOnlyOnExactMatch_data();
    void armReselectedOnlyOnExactMatch();

private:
    // Primary1: Blue, Red; Primary2: Blue, Green.
    static ClassStructure twoPrimaries();
    static QStringList items(const QComboBox &box);
};

ClassStructure TestPickLists::twoPrimaries()
{
    ClassStructure c;
    FillClassLevelNames(c);
    const int p1 = c.levelIndex(QStringLiteral("Primary1"));
    const int p2 = c.levelIndex(QStringLiteral("Primary2"));
    c.NumberOfArms[p1] = 2;
    c.ClassArms[p1] = {QStringLiteral("Blue"), QStringLiteral("Red")};
    c.NumberOfArms[p2] = 2;
    c.ClassArms[p2] = {QStringLiteral("Blue"), QStringLiteral("Green")};
    c.LevelsWithArms = {QStringLiteral("Primary1"), QStringLiteral("Primary2")};
    return c;
}

QStringList TestPickLists::items(const QComboBox &box)
{
    QStringList list;
    for (int i = 0; i < box.count(); ++i)
        list.append(box.itemText(i));
    return list;
}

void TestPickLists::fixedLists_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("sex") << "cmbSex" << QStringList{"Male", "Female"};
    QTest::newRow("state") << "cmbState"
                           << QStringList{
                                  "Abia",    "Abuja",       "Adamawa", "Akwa Ibom",   "Anambra",
                                  "Bayelsa", "Benue",       "Borno",   "Cross River", "Delta",
                                  "Ebonyi",  "Edo",         "Ekiti",   "Enugu",       "Gombe",
                                  "Imo",     "Jigawa",      "Kaduna",  "Kano",        "Katsina",
                                  "Kebbi",   "Kogi",        "Kwara",   "Lagos",       "Nassarawa",
                                  "Niger",   "Ogun",        "Ondo",    "Osun",        "Oyo",
                                  "Plateau", "Rivers",      "Sokoto",  "Taraba",      "Yobe",
                                  "Zamfara", "Non-Nigerian"};
    QTest::newRow("marital") << "cmbMaritalStatus"
                             << QStringList{"Single", "Married", "Separated", "Divorced",
                                            "Widowed"};
    QTest::newRow("service") << "cmbServiceStatus"
                             << QStringList{"Working",  "Leave",     "Maternity", "Suspended",
                                            "Resigned", "Dismissed", "Retired"};
    QTest::newRow("class level") << "cmbClassLevel" << QStringList{"Primary1", "Primary2"};
}

void TestPickLists::fixedLists()
{
    QFETCH(QString, box);
    QFETCH(QStringList, expected);
    QComboBox combo;
    combo.setObjectName(box);
    FillPickList(&combo, twoPrimaries());
    QCOMPARE(items(combo), expected);
    QCOMPARE(combo.currentIndex(), 0);
}

void TestPickLists::secondCallAppends_data()
{
    QTest::addColumn<QString>("box");
    QTest::newRow("sex") << "cmbSex";
    QTest::newRow("class level") << "cmbClassLevel";
}

void TestPickLists::secondCallAppends()
{
    QFETCH(QString, box);
    const ClassStructure classes = twoPrimaries();
    const QStringList once = PickListItems::forBox(box, classes);
    QComboBox combo;
    combo.setObjectName(box);
    FillPickList(&combo, classes);
    combo.setCurrentIndex(combo.count() - 1);
    FillPickList(&combo, classes);
    QCOMPARE(items(combo), once + once);
    // Each call ends on the first item, whatever was chosen before.
    QCOMPARE(combo.currentIndex(), 0);
}

void TestPickLists::classLevelsFromStructure()
{
    TestProgram p;
    p.writeTypicalIni();
    p.prepareState();
    QComboBox combo;
    combo.setObjectName(QStringLiteral("cmbClassLevel"));
    FillPickList(&combo, p.state->classes);
    // Only the levels with arms, in the structure's fixed order.
    QCOMPARE(items(combo), QStringList({"Nursery1", "Primary1", "Primary2", "Secondary1"}));
    QCOMPARE(combo.currentText(), QStringLiteral("Nursery1"));

    // A school without arms gets an empty list and no selection.
    ClassStructure none;
    FillClassLevelNames(none);
    QComboBox empty;
    empty.setObjectName(QStringLiteral("cmbClassLevel"));
    FillPickList(&empty, none);
    QCOMPARE(empty.count(), 0);
    QCOMPARE(empty.currentIndex(), -1);
}

void TestPickLists::unknownBoxUntouched()
{
    QComboBox combo;
    combo.setObjectName(QStringLiteral("cmbClassArm"));
    combo.addItems({QStringLiteral("A"), QStringLiteral("B")});
    combo.setCurrentIndex(1);
    FillPickList(&combo, twoPrimaries());
    QCOMPARE(items(combo), QStringList({"A", "B"}));
    QCOMPARE(combo.currentIndex(), 0);

    // Names are matched exactly, as the forms spell them.
    QComboBox lower;
    lower.setObjectName(QStringLiteral("cmbsex"));
    FillPickList(&lower, twoPrimaries());
    QCOMPARE(lower.count(), 0);
}

void TestPickLists::stateTakesTypedText()
{
    QComboBox combo;
    combo.setObjectName(QStringLiteral("cmbState"));
    combo.setEditable(true);
    FillPickList(&combo, twoPrimaries());
    combo.lineEdit()->selectAll();
    QTest::keyClicks(combo.lineEdit(), QStringLiteral("Ghana"));
    QCOMPARE(combo.currentText(), QStringLiteral("Ghana"));
    QCOMPARE(combo.count(), 37);
}

void TestPickLists::armsByLevelText_data()
{
    QTest::addColumn<QString>("level");
    QTest::addColumn<int>("count");            // Primary1's count; -1: as read
    QTest::addColumn<QStringList>("expected"); // empty with "X" kept: untouched
    const QStringList untouched = {"X", "Y"};
    QTest::newRow("exact") << "Primary2" << -1 << QStringList{"Blue", "Green"};
    QTest::newRow("capitals") << "PRIMARY2" << -1 << QStringList{"Blue", "Green"};
    QTest::newRow("trailing blank") << "Primary2 " << -1 << untouched;
    QTest::newRow("leading blank") << " Primary2" << -1 << untouched;
    QTest::newRow("empty") << "" << -1 << untouched;
    QTest::newRow("typing error") << "Primery2" << -1 << untouched;
    QTest::newRow("level not in use") << "Secondary8" << -1 << QStringList{};
    QTest::newRow("count lowered to 0") << "primary1" << 0 << QStringList{};
    // A count lowered by hand keeps the arm keys in the file; only counted arms are offered.
    QTest::newRow("count lowered to 1") << "primary1" << 1 << QStringList{"Blue"};
    QTest::newRow("count above arms read") << "primary1" << 5 << QStringList{"Blue", "Red"};
}

void TestPickLists::armsByLevelText()
{
    QFETCH(QString, level);
    QFETCH(int, count);
    QFETCH(QStringList, expected);
    ClassStructure classes = twoPrimaries();
    if (count >= 0)
        classes.NumberOfArms[classes.levelIndex(QStringLiteral("Primary1"))] = count;
    QComboBox arms;
    arms.addItems({QStringLiteral("X"), QStringLiteral("Y")});
    arms.setCurrentIndex(1);
    QSignalSpy changed(&arms, &QComboBox::currentIndexChanged);
    FillClassArms(level, &arms, classes);
    QCOMPARE(items(arms), expected);
    if (expected == QStringList{"X", "Y"}) {
        QCOMPARE(arms.currentText(), QStringLiteral("Y"));
        QCOMPARE(changed.count(), 0);
    } else if (expected.isEmpty()) {
        QCOMPARE(arms.currentIndex(), -1);
    }
}

void TestPickLists::armReselectedOnlyOnExactMatch_data()
{
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("showing");
    QTest::addColumn<int>("selected");
    QTest::newRow("Blue stays") << "Primary2"
                                << "Blue" << 0;
    QTest::newRow("Red is gone") << "Primary2"
                                 << "Red" << -1;
    QTest::newRow("case differs") << "Primary2"
                                  << "blue" << -1;
    QTest::newRow("same level again") << "Primary1"
                                      << "Red" << 1;
}

void TestPickLists::armReselectedOnlyOnExactMatch()
{
    QFETCH(QString, level);
    QFETCH(QString, showing);
    QFETCH(int, selected);
    const ClassStructure classes = twoPrimaries();
    QComboBox arms;
    arms.addItems({QStringLiteral("Blue"), QStringLiteral("Red"), QStringLiteral("blue")});
    arms.setCurrentIndex(arms.findText(showing, Qt::MatchExactly | Qt::MatchCaseSensitive));
    QCOMPARE(arms.currentText(), showing);
    FillClassArms(level, &arms, classes);
    FillClassArms(level, &arms, classes); // twice is stable
    QCOMPARE(items(arms), classes.ClassArms[classes.levelIndex(level)]);
    QCOMPARE(arms.currentIndex(), selected);
    if (selected < 0)
        QCOMPARE(arms.currentText(), QString());
}

QTEST_MAIN(TestPickLists)
#include "tst_picklists.moc"
