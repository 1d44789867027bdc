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
    void armsByLevel_data();
    void armsByLevel();
};

void TestPickLists::fillByBoxName_data()
{
    QTest::addColumn<QString>("box");
    QTest::addColumn<QString>("first"); // the first items
    QTest::addColumn<int>("count");
    QTest::newRow("sex") << "cmbSex" << "Male|Female" << 2;
    QTest::newRow("state") << "cmbState" << "Abia|Abuja|Adamawa" << 37;
    QTest::newRow("marital") << "cmbMaritalStatus" << "Single|Married" << 5;
    QTest::newRow("service") << "cmbServiceStatus" << "Working|Leave" << 7;
    // Only the levels with arms, not every level name.
    QTest::newRow("class level") << "cmbClassLevel" << "Primary1|Primary2" << 2;
    QTest::newRow("arm box is no pick list") << "cmbClassArm" << "" << 0;
    QTest::newRow("names matched exactly") << "cmbsex" << "" << 0;
}

// Each call appends and ends on the first item, whatever was chosen before.
void TestPickLists::fillByBoxName()
{
    QFETCH(QString, box);
    QFETCH(QString, first);
    QFETCH(int, count);
    QComboBox combo;
    combo.setObjectName(box);
    FillPickList(&combo, twoPrimaries());
    QCOMPARE(items(combo).left(first.size()), first);
    QCOMPARE(combo.count(), count);
    const QString once = items(combo);
    combo.setCurrentIndex(count - 1);
    FillPickList(&combo, twoPrimaries());
    QCOMPARE(items(combo), count ? once + u'|' + once : QString());
    QCOMPARE(combo.currentIndex(), count ? 0 : -1);
}

// The arm box holds Blue, Red, blue with `showing` chosen before the level is
// given; the arm shown stays only where the new list has it exactly.
void TestPickLists::armsByLevel_data()
{
    QTest::addColumn<QString>("level");
    QTest::addColumn<int>("count"); // Primary1's count; -1: as read
    QTest::addColumn<QString>("showing");
    QTest::addColumn<QString>("expected");
    QTest::addColumn<QString>("shown");
    const QString untouched = QStringLiteral("Blue|Red|blue");
    QTest::newRow("exact, Red is gone") << "Primary2" << -1 << "Red" << "Blue|Green" << "";
    QTest::newRow("capitals, Blue stays") << "PRIMARY2" << -1 << "Blue" << "Blue|Green" << "Blue";
    QTest::newRow("case of the arm differs") << "Primary2" << -1 << "blue" << "Blue|Green" << "";
    QTest::newRow("blank is not trimmed") << "Primary2 " << -1 << "Red" << untouched << "Red";
    QTest::newRow("typing error") << "Primery2" << -1 << "blue" << untouched << "blue";
    QTest::newRow("level not in use") << "Secondary8" << -1 << "Blue" << "" << "";
    // A count lowered by hand keeps the arm keys in the file; only counted arms are offered.
    QTest::newRow("count lowered") << "primary1" << 1 << "Red" << "Blue" << "";
    QTest::newRow("count above arms read") << "primary1" << 5 << "Red" << "Blue|Red" << "Red";
}

void TestPickLists::armsByLevel()
{
    QFETCH(QString, level);
    QFETCH(int, count);
    QFETCH(QString, showing);
    QFETCH(QString, expected);
    QFETCH(QString, shown);
    ClassStructure classes = twoPrimaries();
    if (count >= 0)
        classes.NumberOfArms[classes.levelIndex(QStringLiteral("Primary1"))] = count;
    QComboBox arms;
    arms.addItems({QStringLiteral("Blue"), QStringLiteral("Red"), QStringLiteral("blue")});
    arms.setCurrentIndex(arms.findText(showing, Qt::MatchExactly | Qt::MatchCaseSensitive));
    QSignalSpy changed(&arms, &QComboBox::currentIndexChanged);
    for (int i = 0; i < 2; ++i) { // twice is stable
        FillClassArms(level, &arms, classes);
        QCOMPARE(items(arms), expected);
        QCOMPARE(arms.currentText(), shown);
    }
    if (expected == QLatin1String("Blue|Red|blue"))
        QCOMPARE(changed.count(), 0);
}

QTEST_MAIN(TestPickLists)
#include "tst_picklists.moc"
