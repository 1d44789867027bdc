#include "TestProgram.h"
#include "classes/ClassStructure.h"

#include <QTest>

class TestClassStructure : public QObject
{
    Q_OBJECT
private slots:
    void load_data();
    void load();

private:
    ClassStructure load(TestProgram &p)
    {
        ClassStructure c;
        FillClassLevelNames(c);
        LoadClassStructure(c, p.file(QStringLiteral("Progs/Kolvane.ini")));
        return c;
    }
};

namespace {
// "Prefix1" ... "Prefixn", or as the file's lines "Level(1)=Prefix1" ... when a level is named.
QStringList firstArms(const QString &prefix, int n, const QString &level = {})
{
    QStringList arms;
    for (int i = 1; i <= n; ++i)
        arms << (level.isEmpty() ? QString() : QStringLiteral("%1(%2)=").arg(level).arg(i)) + prefix + QString::number(i);
    return arms;
}
} // namespace

void TestClassStructure::load_data()
{
    QTest::addColumn<QStringList>("file"); // "key=value" lines; none: no file at all
    QTest::addColumn<QString>("term");
    QTest::addColumn<QStringList>("levels"); // those with arms, in level order
    QTest::addColumn<QString>("level");
    QTest::addColumn<int>("count"); // of that level
    QTest::addColumn<QStringList>("arms");
    const QStringList none;
    QTest::newRow("missing file") << none << " " << none << "Primary1" << 0 << none;
    QTest::newRow("term only") << QStringList{"CurrentTerm=  Third Term_2005/2006  "}
                               << "Third Term_2005/2006 " << none << "Primary1" << 0 << none;
    QTest::newRow("levels in order")
        << QStringList{"NumberOfKinderGarten1=0", "NumberOfSecondary8=1", "NumberOfNursery1=2",
                       "NumberOfKinderGarten2=1"}
        << " " << QStringList{"KinderGarten2", "Nursery1", "Secondary8"} << "Primary1" << 0 << none;
    // A hand edit can leave blanks the wizard never writes; they are kept.
    QTest::newRow("arms exactly as read")
        << QStringList{"NumberOfPrimary1=3", "Primary1(1)=Blue", "Primary1(2)= Red House ",
                       "primary1(3)=wrong case key"}
        << " " << QStringList{"Primary1"} << "Primary1" << 3 << QStringList{"Blue", " Red House ", ""};
    QTest::newRow("lowered count keeps keys")
        << QStringList{"NumberOfPrimary1=3"} + firstArms("A", 5, "Primary1") << " "
        << QStringList{"Primary1"} << "Primary1" << 3 << firstArms("A", 3);
    QTest::newRow("count above twenty")
        << QStringList{"NumberOfSecondary1=23"} + firstArms("S", 23, "Secondary1") << " "
        << QStringList{"Secondary1"} << "Secondary1" << 23 << firstArms("S", 23);
    // The count as the loader reads it: halves to even, a trailing word ignored.
    const QList<std::pair<const char *, int>> counts = {
        {"3", 3}, {"2.5", 2}, {"3.5", 4}, {" 4", 4}, {"4 arms", 4}, {"many", 0}, {"", 0}, {"-2", -2}};
    for (const auto &[text, n] : counts)
        QTest::addRow("count \"%s\"", text)
            << QStringList{QStringLiteral("NumberOfPrimary3=") + QLatin1String(text)} + firstArms("Arm", 4, "Primary3")
            << " " << (n >= 1 ? QStringList{"Primary3"} : none) << "Primary3" << n << firstArms("Arm", n);
}

void TestClassStructure::load()
{
    QFETCH(QStringList, file);
    QFETCH(QString, term);
    QFETCH(QStringList, levels);
    QFETCH(QString, level);
    QFETCH(QStringList, arms);
    TestProgram p;
    QList<std::pair<QString, QString>> pairs;
    for (const QString &line : file)
        pairs.append({line.section(u'=', 0, 0), line.section(u'=', 1)});
    if (!file.isEmpty())
        p.writeIni(pairs);
    const ClassStructure c = load(p);
    QCOMPARE(c.CurrentTerm, term);
    QCOMPARE(c.LevelsWithArms, levels);
    QCOMPARE(c.LevelsWithArmsCount(), levels.size());
    QCOMPARE(c.ClassArms[c.levelIndex(level)], arms);
    QTEST(int(c.NumberOfArms[c.levelIndex(level)]), "count");
    // Every other level is empty.
    for (int i = 0; i < ClassStructure::LevelCount; ++i)
        QVERIFY(c.ClassLevelNames[i] == level || levels.contains(c.ClassLevelNames[i]) ||
                (c.NumberOfArms[i] == 0 && c.ClassArms[i].isEmpty()));
}

QTEST_GUILESS_MAIN(TestClassStructure)
#include "tst_classstructure.moc"
