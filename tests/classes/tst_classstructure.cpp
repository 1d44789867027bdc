#include "TestProgram.h"
#include "classes/ClassStructure.h"

#include <QTest>

class TestClassStructure : public QObject
{
    Q_OBJECT
private slots:
    void termOnly();
    void counts_data();
    void counts();
    void levelsWithArmsInOrder();
    void armsExactlyAsRead();
    void loweredCountKeepsKeys();
    void countAboveTwenty();
    void reloadReplaces();
    void missingFile();

private:
    ClassStructure load(TestProgram &p)
    {
        ClassStructure c;
        FillClassLevelNames(c);
        LoadClassStructure(c, p.file(QStringLiteral("Progs/Kolvane.ini")));
        return c;
    }
};

void TestClassStructure::termOnly()
{
    TestProgram p;
    p.writeIni({{QStringLiteral("CurrentTerm"), QStringLiteral("  Third Term_2005/2006  ")}});
    const ClassStructure c = load(p);
    QCOMPARE(c.CurrentTerm, QStringLiteral("Third Term_2005/2006 "));
    QCOMPARE(c.LevelsWithArmsCount(), 0);
    for (int i = 0; i < ClassStructure::LevelCount; ++i) {
        QCOMPARE(c.NumberOfArms[i], qint16(0));
        QVERIFY(c.ClassArms[i].isEmpty());
    }
}

void TestClassStructure::counts_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("count");
    QTest::newRow("plain") << "3" << 3;
    QTest::newRow("half to even down") << "2.5" << 2;
    QTest::newRow("half to even up") << "3.5" << 4;
    QTest::newRow("leading blank") << " 4" << 4;
    QTest::newRow("trailing word") << "4 arms" << 4;
    QTest::newRow("letters") << "many" << 0;
    QTest::newRow("empty") << "" << 0;
    QTest::newRow("negative") << "-2" << -2;
}

void TestClassStructure::counts()
{
    QFETCH(QString, text);
    QFETCH(int, count);
    TestProgram p;
    QList<std::pair<QString, QString>> pairs = {{QStringLiteral("NumberOfPrimary3"), text}};
    for (int i = 1; i <= 4; ++i)
        pairs.append({QStringLiteral("Primary3(%1)").arg(i), QStringLiteral("Arm%1").arg(i)});
    p.writeIni(pairs);
    const ClassStructure c = load(p);
    const int index = c.levelIndex(QStringLiteral("Primary3"));
    QCOMPARE(int(c.NumberOfArms[index]), count);
    QCOMPARE(int(c.ClassArms[index].size()), qMax(count, 0));
    QCOMPARE(c.LevelsWithArms.contains(QStringLiteral("Primary3")), count >= 1);
}

void TestClassStructure::levelsWithArmsInOrder()
{
    TestProgram p;
    p.writeIni({{QStringLiteral("NumberOfKinderGarten1"), QStringLiteral("0")},
                {QStringLiteral("NumberOfSecondary8"), QStringLiteral("1")},
                {QStringLiteral("NumberOfNursery1"), QStringLiteral("2")},
                {QStringLiteral("NumberOfKinderGarten2"), QStringLiteral("1")}});
    const ClassStructure c = load(p);
    QCOMPARE(c.LevelsWithArms, (QStringList{"KinderGarten2", "Nursery1", "Secondary8"}));
    QCOMPARE(c.LevelsWithArmsCount(), 3);
}

void TestClassStructure::armsExactlyAsRead()
{
    TestProgram p;
    // A hand edit can leave blanks the wizard never writes; they are kept.
    p.writeIni({{QStringLiteral("NumberOfPrimary1"), QStringLiteral("3")},
                {QStringLiteral("Primary1(1)"), QStringLiteral("Blue")},
                {QStringLiteral("Primary1(2)"), QStringLiteral(" Red House ")},
                {QStringLiteral("primary1(3)"), QStringLiteral("wrong case key")}});
    const ClassStructure c = load(p);
    const int i = c.levelIndex(QStringLiteral("Primary1"));
    QCOMPARE(c.ClassArms[i], (QStringList{"Blue", " Red House ", ""}));
}

void TestClassStructure::loweredCountKeepsKeys()
{
    TestProgram p;
    p.writeIni({{QStringLiteral("NumberOfPrimary1"), QStringLiteral("3")},
                {QStringLiteral("Primary1(1)"), QStringLiteral("A")},
                {QStringLiteral("Primary1(2)"), QStringLiteral("B")},
                {QStringLiteral("Primary1(3)"), QStringLiteral("C")},
                {QStringLiteral("Primary1(4)"), QStringLiteral("D")},
                {QStringLiteral("Primary1(5)"), QStringLiteral("E")}});
    const ClassStructure c = load(p);
    QCOMPARE(c.ClassArms[c.levelIndex(QStringLiteral("Primary1"))], (QStringList{"A", "B", "C"}));
}

void TestClassStructure::countAboveTwenty()
{
    TestProgram p;
    QList<std::pair<QString, QString>> pairs = {{QStringLiteral("NumberOfSecondary1"), QStringLiteral("23")}};
    for (int i = 1; i <= 23; ++i)
        pairs.append({QStringLiteral("Secondary1(%1)").arg(i), QStringLiteral("S%1").arg(i)});
    p.writeIni(pairs);
    const ClassStructure c = load(p);
    const QStringList &arms = c.ClassArms[c.levelIndex(QStringLiteral("Secondary1"))];
    QCOMPARE(arms.size(), 23);
    QCOMPARE(arms.last(), QStringLiteral("S23"));
    QCOMPARE(arms.at(9), QStringLiteral("S10"));
}

void TestClassStructure::reloadReplaces()
{
    TestProgram p;
    p.writeTypicalIni();
    ClassStructure c = load(p);
    QCOMPARE(c.LevelsWithArms.size(), 4);
    p.writeIni({{QStringLiteral("NumberOfSecondary1"), QStringLiteral("0")}});
    LoadClassStructure(c, p.file(QStringLiteral("Progs/Kolvane.ini")));
    QCOMPARE(c.LevelsWithArms, (QStringList{"Nursery1", "Primary1", "Primary2"}));
    QVERIFY(c.ClassArms[c.levelIndex(QStringLiteral("Secondary1"))].isEmpty());
}

void TestClassStructure::missingFile()
{
    TestProgram p;
    ClassStructure c = load(p);
    QCOMPARE(c.CurrentTerm, QStringLiteral(" "));
    QVERIFY(c.LevelsWithArms.isEmpty());
}

QTEST_GUILESS_MAIN(TestClassStructure)
#include "tst_classstructure.moc"
