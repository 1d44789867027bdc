#include "TestProgram.h"
#include "platform/KeyValueFile.h"
#include "platform/Numbers.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/time.h>

// The settings file, file names in any letter case, and every text rule of
// numbers and names.
class TestFiles : public QObject
{
    Q_OBJECT
private slots:
    void rule_data();
    void rule();
    void roundTrip();
    void failedWriteLeavesTargetAlone();
    void resolveIgnoresLetterCase();
};

// Values read back as written, each on one line, beside a file edited by hand
// whose comments, blank lines and other keys (told apart by their exact
// spelling) survive.
void TestFiles::roundTrip()
{
    TestProgram p(TestProgram::Bare);
    p.writeFile("store.ini", "# kept by the office\nNumberOfPrimary1=5\n\nprimary1(1)=Red\n");
    KeyValueFile store(p.file("store.ini"));
    // Blanks around and letter case, tabs, equals in value and key, line breaks,
    // backslashes (before a blank, before escape letters), non-ASCII, empty, a
    // hash, blanks around a key.
    const QHash<QString, QString> written = {
        {"Primary1(1)", "  Blue  "},
        {"tab", "\tx\t"},
        {"equals", "a=b=c"},
        {"a=b", "v"},
        {"lines", "one\r\ntwo\nthree"},
        {"Software\\VELMORAN\\KOLVANE100\\PwInf", "C:\\new\\stuff\\"},
        {"blank", "a\\ "},
        {"escapes", "\\n\\s\\\\"},
        {"Schulname", "Ọlábísí Çağrı Straße 東京"},
        {"empty", ""},
        {"#k", "#v"},
        {" k ", "v"}};
    for (const auto &[key, value] : written.asKeyValueRange())
        QVERIFY2(store.write(key, value), qPrintable(key));
    QVERIFY(store.write("NumberOfPrimary1", "3")); // replaced in place
    for (const auto &[key, value] : written.asKeyValueRange()) {
        bool found = false;
        QCOMPARE(store.read(key, &found), value);
        QVERIFY2(found, qPrintable(key));
    }
    QHash<QString, QString> all = written;
    all.insert({{"NumberOfPrimary1", "3"}, {"primary1(1)", "Red"}});
    QCOMPARE(store.readAll(), all);
    QFile f(store.path());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY2(bytes.startsWith("# kept by the office\nNumberOfPrimary1=3\n\nprimary1(1)=Red\n") &&
                 bytes.count('\n') == 4 + written.size(),
             bytes.constData());
}

// A target that cannot be replaced keeps what it was, with no temporary file left.
void TestFiles::failedWriteLeavesTargetAlone()
{
    TestProgram p(TestProgram::Bare);
    KeyValueFile onDir(p.file("adir"));
    QVERIFY(QDir().mkdir(onDir.path()));
    QVERIFY(!onDir.write("k", "v"));
    QVERIFY(onDir.errorCode() != 0);
    QVERIFY(QFileInfo(onDir.path()).isDir());
    QCOMPARE(QDir(p.appPath()).entryList(QDir::Files), QStringList());
}

void TestFiles::resolveIgnoresLetterCase()
{
    TestProgram p(TestProgram::Bare);
    const QString app = p.appPath().chopped(1), folder = p.file("Pictures/FrontView/");
    QVERIFY(QDir().mkpath(folder));
    p.writeFile("Pictures/FrontView/Ade.GIF", {});
    QCOMPARE(Paths::resolve(app, "pictures/frontview/ade.gif"), folder + "Ade.GIF");
    QCOMPARE(Paths::resolve(app, "Pictures\\FRONTVIEW\\new.gif"), folder + "new.gif");
    QCOMPARE(Paths::resolve(app, "Sounds/Wav/Intro.Wav"), p.file("Sounds/Wav/Intro.Wav"));
    QVERIFY(Paths::exists(app, "PICTURES/frontView/ADE.gif"));
    QVERIFY(!Paths::exists(app, "Pictures/FrontView"));

    // The folder's listing is kept while the folder stays as it was (an old
    // folder, as in a school's photo folder), and read again once it changes.
    const auto age = [&folder] {
        const struct timeval hourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
        QCOMPARE(utimes(QFile::encodeName(folder).constData(), hourAgo), 0);
    };
    age();
    QVERIFY(!Paths::exists(app, "Pictures/FrontView/ann.gif"));
    p.writeFile("Pictures/FrontView/Ann.Gif", {});
    QVERIFY(Paths::exists(app, "Pictures/FrontView/ann.gif"));
    age();
    QVERIFY(Paths::exists(app, "Pictures/FrontView/ANN.GIF"));
    QVERIFY(QFile::rename(folder + "Ann.Gif", folder + "ANN.gif"));
    QCOMPARE(Paths::resolve(app, "Pictures/FrontView/ann.gif"), folder + "ANN.gif");
    QVERIFY(QFile::remove(folder + "ANN.gif"));
    QVERIFY(!Paths::exists(app, "Pictures/FrontView/ann.gif"));
}

// Every text rule as one table: the rule, what goes in, what comes out.
void TestFiles::rule_data()
{
    QTest::addColumn<QString>("rule");
    QTest::addColumn<QString>("in");
    QTest::addColumn<QString>("out");
    // Each row "in|out". read: as far as it reads as a number, blanks dropped anywhere.
    // whole: the whole text, blanks around it aside, is a number. text: the shortest
    // text, no grouping, no exponent below fifteen digits. cents: in single precision,
    // as the money fields hold it. money: "#,##0.00", what rounds to nothing without a
    // sign. file name: the name after the last separator, in small letters.
    const QList<std::pair<const char *, QStringList>> rules = {
        {"read",
         {"|0", "abc|0", "1500|1500", "1500.5|1500.5", "  42|42", "1 2 3|123", "\t1\n5|15",
          "4 arms|4", "-300|-300", "+7|7", "- 5|-5", "1,500|1", "1.2.3|1.2", ".5|0.5", "1.5E3|1500",
          "25e-1|2.5", "3E|3", "-|0", ".|0"}},
        {"whole",
         {"1500|yes", " 12.5 |yes", "-300|yes", "1,500|no", "12abc|no", "|no", "   |no", "abc|no"}},
        {"text",
         {"1500|1500", "1500.5|1500.5", "0.30000000000000004|0.3", "0|0", "-0|0", "-250.25|-250.25",
          "1234567|1234567", "123456789012345|123456789012345", "0.001|0.001"}},
        {"half even",
         {"2.5|2", "3.5|4", "250.5|250", "251.5|252", "-2.5|-2", "2.6|3", "542.35|542"}},
        {"cents",
         {"12.344|12.34", "10.125|10.13", "-10.125|-10.12", "0.005|0", "12.345|12.35", "25|25"}},
        {"money", {"-1780.5|-1,780.50", "1234567.891|1,234,567.89", "-0.004|0.00", "0.005|0.01"}},
        {"file name",
         {"/home/ann/Photo.JPG|photo.jpg", "C:\\A\\Photo.JPG|photo.jpg", "A:Photo.JPG|photo.jpg",
          "Photo.JPG|", "C:\\A\\|", "C:\\A/b\\Ade.GIF|ade.gif"}}};
    for (const auto &[rule, rows] : rules)
        for (const QString &row : rows)
            QTest::addRow("%s: [%s]", rule, qPrintable(row.section(u'|', 0, 0)))
                << QString::fromLatin1(rule) << row.section(u'|', 0, 0) << row.section(u'|', 1);
}

void TestFiles::rule()
{
    QFETCH(QString, rule);
    QFETCH(QString, in);
    QFETCH(QString, out);
    if (rule == QLatin1String("read"))
        QCOMPARE(Numbers::readNumber(in), out.toDouble());
    else if (rule == QLatin1String("whole"))
        QCOMPARE(Numbers::isWholeNumberText(in), out == QLatin1String("yes"));
    else if (rule == QLatin1String("text"))
        QCOMPARE(Numbers::numberText(in.toDouble()), out);
    else if (rule == QLatin1String("half even"))
        QCOMPARE(Numbers::roundHalfEven(in.toDouble()), out.toLongLong());
    else if (rule == QLatin1String("money"))
        QCOMPARE(Numbers::moneyText(in.toDouble()), out);
    else if (rule == QLatin1String("cents"))
        QCOMPARE(Numbers::RoundToCents(in.toFloat()), out.toFloat());
    else
        QCOMPARE(Paths::FileNameOfPath(in), out);
}

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
