#include "classes/ClassStructure.h"
#include "records/PickLists.h"

#include <QComboBox>
#include <QSignalSpy>
#include <QTest>

namespace {

// Primary1: Blue, Red; Primary2: Blue, Green.
ClassStructure twoPrimaries()
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

QString items(const QComboBox &box)
{
    QStringList list;
    for (int i = 0; i < box.count(); ++i)
        list.append(box.itemText(i));
    return list.join(u'|');
}

} // namespace

class TestPickLists : public QObject
{
    Q_OBJECT
private slots:
    void fillByBoxName_data();
    void fillByBoxName();
    void armsByLevelText_data();
    void armsByLevelText();
    void armReselectedOnlyOnExactMatch_data();
    void armReselectedOnlyOnExactMatch();
};

void TestPickLists::fillByBoxName_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("expected");
    QTest::newRow("sex") << "cmbSex" << "Male|Female";
    QTest::newRow("state") << "cmbState"
                           << "Abia|Abuja|Adamawa|Akwa Ibom|Anambra|Bayelsa|Benue|Borno|Cross River|Delta|"
                              "Ebonyi|Edo|Ekiti|Enugu|Gombe|Imo|Jigawa|Kaduna|Kano|Katsina|Kebbi|Kogi|Kwara|"
                              "Lagos|Nassarawa|Niger|Ogun|Ondo|Osun|Oyo|Plateau|Rivers|Sokoto|Taraba|Yobe|"
                              "Zamfara|Non-Nigerian";
    QTest::newRow("marital") << "cmbMaritalStatus" << "Single|Married|Separated|Divorced|Widowed";
    QTest::newRow("service") << "cmbServiceStatus"
                             << "Working|Leave|Maternity|Suspended|Resigned|Dismissed|Retired";
    // Only the levels with arms, not every level name.
    QTest::newRow("class level") << "cmbClassLevel" << "Primary1|Primary2";
    QTest::newRow("arm box is no pick list") << "cmbClassArm" << "";
    QTest::newRow("names matched exactly") << "cmbsex" << "";
}

// Each call appends and ends on the first item, whatever was chosen before.
void TestPickLists::fillByBoxName()
{
    QFETCH(QString, box);
    QFETCH(QString, expected);
    QComboBox combo;
    combo.setObjectName(box);
    FillPickList(&combo, twoPrimaries());
    QCOMPARE(items(combo), expected);
    combo.setCurrentIndex(combo.count() - 1);
    FillPickList(&combo, twoPrimaries());
    QCOMPARE(items(combo), expected.isEmpty() ? QString() : expected + u'|' + expected);
    QCOMPARE(combo.currentIndex(), expected.isEmpty() ? -1 : 0);
}

void TestPickLists::armsByLevelText_data()
{
    QTest::addColumn<QString>("level");
    QTest::addColumn<int>("count");         // Primary1's count; -1: as read
    QTest::addColumn<QString>("expected"); // "X|Y": untouched
    QTest::newRow("exact") << "Primary2" << -1 << "Blue|Green";
    QTest::newRow("capitals") << "PRIMARY2" << -1 << "Blue|Green";
    QTest::newRow("blank is not trimmed") << "Primary2 " << -1 << "X|Y";
    QTest::newRow("typing error") << "Primery2" << -1 << "X|Y";
    QTest::newRow("level not in use") << "Secondary8" << -1 << "";
    // A count lowered by hand keeps the arm keys in the file; only counted arms are offered.
    QTest::newRow("count lowered") << "primary1" << 1 << "Blue";
    QTest::newRow("count above arms read") << "primary1" << 5 << "Blue|Red";
}

void TestPickLists::armsByLevelText()
{
    QFETCH(QString, level);
    QFETCH(int, count);
    QFETCH(QString, expected);
    ClassStructure classes = twoPrimaries();
    if (count >= 0)
        classes.NumberOfArms[classes.levelIndex(QStringLiteral("Primary1"))] = count;
    QComboBox arms;
    arms.addItems({QStringLiteral("X"), QStringLiteral("Y")});
    arms.setCurrentIndex(1);
    QSignalSpy changed(&arms, &QComboBox::currentIndexChanged);
    FillClassArms(level, &arms, classes);
    QCOMPARE(items(arms), expected);
    const bool untouched = expected == QStringLiteral("X|Y");
    QCOMPARE(arms.currentText(), untouched ? QStringLiteral("Y") : QString());
    if (untouched)
        QCOMPARE(changed.count(), 0);
}

void TestPickLists::armReselectedOnlyOnExactMatch_data()
{
    QTest::addColumn<QString>("level");
    QTest::addColumn<QString>("showing");
    QTest::addColumn<int>("selected");
    QTest::newRow("Blue stays") << "Primary2" << "Blue" << 0;
    QTest::newRow("Red is gone") << "Primary2" << "Red" << -1;
    QTest::newRow("case differs") << "Primary2" << "blue" << -1;
    QTest::newRow("same level again") << "Primary1" << "Red" << 1;
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
    FillClassArms(level, &arms, classes);
    FillClassArms(level, &arms, classes); // twice is stable
    QCOMPARE(items(arms), classes.ClassArms[classes.levelIndex(level)].join(u'|'));
    QCOMPARE(arms.currentIndex(), selected);
}

QTEST_MAIN(TestPickLists)
#include "tst_picklists.moc"
