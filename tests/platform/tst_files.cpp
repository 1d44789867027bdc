#include "TestProgram.h"
#include "platform/KeyValueFile.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <sys/time.h>

class TestFiles : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void failedWriteLeavesTargetAlone();
    void resolveIgnoresLetterCase();
};

void TestFiles::roundTrip_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    const auto row = [](const char *name, const char *key, const char *value) {
        QTest::newRow(name) << QString::fromUtf8(key) << QString::fromUtf8(value);
    };
    row("blanks around, other letter case", "Primary1(1)", "  Blue  ");
    row("tab at the edge", "k", "\tx\t");
    row("equals in value", "k", "a=b=c");
    row("equals in key", "a=b", "v");
    row("line breaks", "k", "one\r\ntwo\nthree");
    row("backslashes", "Software\\VELMORAN\\KOLVANE100\\PwInf", "C:\\new\\stuff\\");
    row("backslash before blank", "k", "a\\ ");
    row("backslash before escape letters", "k", "\\n\\s\\\\");
    row("non-ASCII", "Schulname", "Ọlábísí Çağrı Straße 東京");
    row("empty value", "k", "");
    row("hash key", "#k", "#v");
    row("blank key edges", " k ", "v");
}

// A value reads back as written, on one line, beside a file edited by hand whose
// comments, blank lines and other keys (told apart by their exact spelling) survive.
void TestFiles::roundTrip()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    TestProgram p(TestProgram::Bare);
    p.writeFile("store.ini", "# kept by the office\nNumberOfPrimary1=5\n\nprimary1(1)=Red\n");
    KeyValueFile store(p.file("store.ini"));
    QVERIFY(store.write(key, value));
    QVERIFY(store.write("NumberOfPrimary1", "3")); // replaced in place
    bool found = false;
    QCOMPARE(store.read(key, &found), value);
    QVERIFY(found);
    store.read("PRIMARY1(1)", &found);
    QVERIFY(!found);
    const QHash<QString, QString> all{
        {key, value}, {"NumberOfPrimary1", "3"}, {"primary1(1)", "Red"}};
    QCOMPARE(store.readAll(), all);
    QFile f(store.path());
    QVERIFY(f.open(QIODevice::ReadOnly));
    const QByteArray bytes = f.readAll();
    QVERIFY2(bytes.startsWith("# kept by the office\nNumberOfPrimary1=3\n\nprimary1(1)=Red\n") &&
                 bytes.count('\n') == 5,
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

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
