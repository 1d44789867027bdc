#include "classes/Bill.h"
#include "classes/ClassStructure.h"
#include "classes/FeeSchedule.h"
#include "classes/Term.h"
#include "platform/KeyValueFile.h"

#include <QSqlDatabase>
#include <QSqlQuery>
#include <QTemporaryDir>
#include <QTest>

// The bill, the fee schedule it reads and the class structure file, without a form.
class TestClassesLogic : public QObject
{
    Q_OBJECT
private slots:
    void compose_data();
    void compose();
    void restore_data();
    void restore();
    void schedule_data();
    void schedule();
    void load_data();
    void load();
    void term_data();
    void term();
};

// The schedule's cells Tuition 250.5, Levy 119.5, Sports 10.49 and Building 1e12 are whole
// amounts on the bill (halves to even, held to 32 bits); the debt is added to the total for
// the amount payable. Ticks are "x" (ticked) and "." in list order. The form refuses a custom
// amount that the bill does not accept.
struct Composed
{
    const char *name, *ticked, *custom, *debt, *text;
    int total;
    const char *payable;
    bool accepted = true;
};
Q_DECLARE_METATYPE(Composed)

static QList<bool> ticks(const QString &marks)
{
    QList<bool> list;
    for (const QChar mark : marks)
        list.append(mark == u'x');
    return list;
}

void TestClassesLogic::compose_data()
{
    QTest::addColumn<Composed>("row");
    const Composed rows[] = {
        {"two items, custom", "x.x.", "25", "", "Tuition = 250\r\nSports = 10\r\nCustom = 25", 285,
         "285"},
        {"nothing", "....", "", "", "", 0, "0"},
        {"custom words left out, debt added", ".x..", "abc", "100.5", "Levy = 120\r\n", 120,
         "220.5", false},
        {"custom grouped left out, debt's leading number", "x...", "1,500", " 20abc",
         "Tuition = 250\r\n", 250, "270", false},
        {"custom below zero", "....", "-5", "", "Custom = -5", -5, "-5", false},
        {"custom 250.5 to even, credit", "....", "250.5", "-40", "Custom = 250.5", 250, "210"},
        {"custom 251.5 to even", "....", "251.5", "", "Custom = 251.5", 252, "252"},
        {"custom cents rounded", "....", "12.344", "", "Custom = 12.34", 12, "12"},
        {"custom zero written", "....", "0", "", "Custom = 0", 0, "0"},
        {"custom trailing zeros", "....", "12.50", "", "Custom = 12.5", 12, "12"},
        {"beyond 32 bits held", "...x", "25", "", "Building = 2147483647\r\nCustom = 25",
         2147483647, "2147483647"}};
    for (const Composed &row : rows)
        QTest::newRow(row.name) << row;
}

void TestClassesLogic::compose()
{
    QFETCH(Composed, row);
    const QStringList names{"Tuition", "Levy", "Sports", "Building"};
    QList<qint32> amounts;
    for (double cell : {250.5, 119.5, 10.49, 1e12})
        amounts.append(Bill::wholeAmount(cell));
    const Bill::Composed bill = Bill::compose(names, amounts, ticks(row.ticked), row.custom);
    QCOMPARE(bill.text, QString(row.text));
    QCOMPARE(bill.total, row.total);
    QCOMPARE(Bill::payableText(bill.total, row.debt), QString(row.payable));
    QCOMPARE(Bill::customAccepted(row.custom), row.accepted);
    // Opened again, the same items are ticked.
    QCOMPARE(Bill::ticksFrom(bill.text, names), ticks(row.ticked));
}

void TestClassesLogic::restore_data()
{
    QTest::addColumn<QString>("bill");
    QTest::addColumn<QList<bool>>("ticked"); // Tuition, Levy, Sports, Library
    QTest::addColumn<QString>("custom");
    QTest::newRow("levy ticked by a longer name") << "Development Levy = 120\r\n"
                                                  << ticks(".x..") << "";
    QTest::newRow("case matters") << "tuition = 500\r\n" << ticks("....") << "";
    QTest::newRow("custom not last line") << "Custom = 5\r\nSports = 30\r\n" << ticks("..x.") << "";
    QTest::newRow("custom without equals") << "Custom 25" << ticks("....") << "";
    QTest::newRow("custom blanks trimmed") << "Custom =   7.5 " << ticks("....") << "7.5";
}

void TestClassesLogic::restore()
{
    QFETCH(QString, bill);
    QFETCH(QString, custom);
    const QStringList names{"Tuition", "Levy", "Sports", "Library"};
    QTEST(Bill::ticksFrom(bill, names), "ticked");
    QCOMPARE(Bill::customFrom(bill), custom);
}

// A table of `columns` items, SSS 2 at 251.5 and O'Level at 7 in the first; items past the
// twentieth are not the schedule's.
void TestClassesLogic::schedule_data()
{
    QTest::addColumn<int>("columns");
    QTest::addColumn<QString>("level");
    QTest::addColumn<double>("first"); // -1: no row
    QTest::newRow("fewer, blanks around") << 5 << "  SSS 2 " << 251.5;
    QTest::newRow("more ignored, quote in level is data") << 23 << "O'Level" << 7.0;
    QTest::newRow("unknown") << 20 << "JSS 9" << -1.0;
}

void TestClassesLogic::schedule()
{
    QFETCH(int, columns);
    QFETCH(QString, level);
    QFETCH(double, first);
    auto db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("fees"));
    db.setDatabaseName(QStringLiteral(":memory:"));
    QVERIFY(db.open());
    QString items = QStringLiteral("Class_Level TEXT");
    for (int i = 1; i <= columns; ++i)
        items += QStringLiteral(", Item_%1 REAL").arg(i);
    QSqlQuery query(db);
    QVERIFY(query.exec(QStringLiteral("CREATE TABLE Fees (%1)").arg(items)));
    QVERIFY(query.exec(QStringLiteral("INSERT INTO Fees (Class_Level, Item_1) VALUES "
                                      "('SSS 2', 251.5), ('O''Level', 7)")));

    const int names = std::min(columns, 20);
    const QStringList got = FeeSchedule(db).itemNames();
    QCOMPARE(got.size(), names);
    QCOMPARE(got.constFirst(), QStringLiteral("Item_1"));
    QCOMPARE(got.constLast(), QStringLiteral("Item_%1").arg(names));
    const auto amounts = FeeSchedule(db).amountsFor(level);
    QCOMPARE(amounts.has_value(), first >= 0);
    if (amounts) {
        QCOMPARE(amounts->size(), names);
        QCOMPARE(amounts->constFirst(), first);
        QCOMPARE(amounts->constLast(), 0.0);
    }
    query = QSqlQuery();
    db = QSqlDatabase();
    QSqlDatabase::removeDatabase(QStringLiteral("fees"));
}

// "Prefix1" ... "Prefixn", or as the file's lines "Level(1)=Prefix1" ... when a level is named.
static QStringList firstArms(const QString &prefix, int n, const QString &level = {})
{
    QStringList arms;
    for (int i = 1; i <= n; ++i)
        arms << (level.isEmpty() ? QString() : ClassStructure::armKey(level, i) + u'=') + prefix +
                    QString::number(i);
    return arms;
}

void TestClassesLogic::load_data()
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
        << " " << QStringList{"Primary1"} << "Primary1" << 3
        << QStringList{"Blue", " Red House ", ""};
    QTest::newRow("count above twenty")
        << QStringList{"NumberOfSecondary1=23"} + firstArms("S", 23, "Secondary1") << " "
        << QStringList{"Secondary1"} << "Secondary1" << 23 << firstArms("S", 23);
    // The count as the loader reads it: halves to even, a trailing word ignored.
    const QList<std::pair<const char *, int>> counts = {{"3", 3},  {"2.5", 2},    {"3.5", 4},
                                                        {" 4", 4}, {"4 arms", 4}, {"many", 0},
                                                        {"", 0},   {"-2", -2}};
    for (const auto &[text, n] : counts)
        QTest::addRow("count \"%s\"", text)
            << QStringList{QStringLiteral("NumberOfPrimary3=") + QLatin1String(text)} +
                   firstArms("Arm", 4, "Primary3")
            << " " << (n >= 1 ? QStringList{"Primary3"} : none) << "Primary3" << n
            << firstArms("Arm", n);
}

void TestClassesLogic::load()
{
    QFETCH(QStringList, file);
    QFETCH(QStringList, levels);
    QFETCH(QString, level);
    QTemporaryDir dir;
    const QString ini = dir.filePath(QStringLiteral("Kolvane.ini"));
    QList<std::pair<QString, QString>> pairs;
    for (const QString &line : file)
        pairs.append({line.section(u'=', 0, 0), line.section(u'=', 1)});
    QVERIFY(file.isEmpty() || WriteVars(pairs, ini));
    ClassStructure c;
    FillClassLevelNames(c);
    LoadClassStructure(c, ini);
    QTEST(c.CurrentTerm, "term");
    QCOMPARE(c.LevelsWithArms, levels);
    QTEST(c.ClassArms[c.levelIndex(level)], "arms");
    QTEST(int(c.NumberOfArms[c.levelIndex(level)]), "count");
}

// A stored term as the term form opens it: the term chosen and the year on the bar, which
// stays at 2000 for a year it cannot show.
void TestClassesLogic::term_data()
{
    QTest::addColumn<QString>("stored");
    QTest::addColumn<bool>("isTerm");
    QTest::addColumn<int>("term"); // -1: none of the four
    QTest::addColumn<int>("year");
    QTest::newRow("third") << "Third Term_2005/2006 " << true << 2 << 2005;
    QTest::newRow("last year") << "Fourth Term_2199/2200" << true << 3 << 2199;
    QTest::newRow("no underscore") << "Second Term 2004/2005" << false << -1 << 2000;
    QTest::newRow("small letters") << "first term_2010/2011" << true << -1 << 2010;
    QTest::newRow("year too early") << "Fourth Term_1899/1900" << true << 3 << 2000;
    QTest::newRow("year too late") << "Second Term_2200/2201" << true << 1 << 2000;
}

void TestClassesLogic::term()
{
    QFETCH(QString, stored);
    const Term::Parts parts = Term::split(stored);
    QTEST(parts.isTerm, "isTerm");
    QTEST(parts.term, "term");
    QTEST(parts.year, "year");
}

QTEST_GUILESS_MAIN(TestClassesLogic)
#include "tst_classeslogic.moc"
