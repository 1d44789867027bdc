#include "platform/KeyValueFile.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <optional>
#include <sys/time.h>

class TestFiles : public QObject
{
    Q_OBJECT
private slots:
    void init() { QVERIFY(m_dir.emplace().isValid()); }
    void roundTrip_data();
    void roundTrip();
    void keysExactAndOthersSurvive();
    void failedWriteLeavesTargetAlone();
    void resolveIgnoresLetterCase();

private:
    std::optional<QTemporaryDir> m_dir;
    QString file(const QString &name) const { return m_dir->path() + u'/' + name; }
    void writeFile(const QString &name, const QByteArray &bytes)
    {
        QFile f(file(name));
        QVERIFY(f.open(QIODevice::WriteOnly) && f.write(bytes) == bytes.size());
    }
};

void TestFiles::roundTrip_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("blanks around") << "Primary1(1)" << "  Blue  ";
    QTest::newRow("tab at the edge") << "k" << "\tx\t";
    QTest::newRow("equals in value") << "k" << "a=b=c";
    QTest::newRow("equals in key") << "a=b" << "v";
    QTest::newRow("line breaks") << "k" << "one\r\ntwo\nthree";
    QTest::newRow("backslashes") << "Software\\VELMORAN\\KOLVANE100\\PwInf" << "C:\\new\\stuff\\";
    QTest::newRow("backslash before blank") << "k" << "a\\ ";
    QTest::newRow("backslash before escape letters") << "k" << "\\n\\s\\\\";
    QTest::newRow("non-ASCII") << "Schulname" << QString::fromUtf8("Ọlábísí Çağrı Straße 東京");
    QTest::newRow("empty value") << "k" << "";
    QTest::newRow("hash key") << "#k" << "#v";
    QTest::newRow("blank key edges") << " k " << "v";
}

void TestFiles::roundTrip()
{
    QFETCH(QString, key);
    QFETCH(QString, value);
    KeyValueFile store(file(QStringLiteral("store.ini")));
    QVERIFY(store.write(QStringLiteral("before"), QStringLiteral("1")));
    QVERIFY(store.write(key, value));
    QVERIFY(store.write(QStringLiteral("after"), QStringLiteral("2")));
    bool found = false;
    QCOMPARE(store.read(key, &found), value);
    QVERIFY(found);
    QCOMPARE(store.readAll().value(key), value);
    QCOMPARE(store.read(QStringLiteral("before")), QStringLiteral("1"));
    QCOMPARE(store.read(QStringLiteral("after")), QStringLiteral("2"));
    // One line per key, whatever the value held.
    QFile f(store.path());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll().count('\n'), 3);
}

void TestFiles::keysExactAndOthersSurvive()
{
    writeFile(QStringLiteral("store.ini"), "# kept by the office\nNumberOfPrimary1=5\n\nPrimary1(4)=Old\n");
    KeyValueFile store(file(QStringLiteral("store.ini")));
    QVERIFY(store.write(QStringLiteral("Primary1(1)"), QStringLiteral("Blue")));
    QVERIFY(store.write(QStringLiteral("primary1(1)"), QStringLiteral("Red")));
    QVERIFY(store.write(QStringLiteral("NumberOfPrimary1"), QStringLiteral("3"))); // replaced in place
    bool found = true;
    QCOMPARE(store.read(QStringLiteral("PRIMARY1(1)"), &found), QString());
    QVERIFY(!found);
    QFile f(store.path());
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("# kept by the office\nNumberOfPrimary1=3\n\nPrimary1(4)=Old\n"
                                     "Primary1(1)=Blue\nprimary1(1)=Red\n"));
}

// A target that cannot be replaced keeps what it was, with no temporary file left.
void TestFiles::failedWriteLeavesTargetAlone()
{
    const QString dirPath = file(QStringLiteral("adir"));
    QVERIFY(QDir().mkdir(dirPath));
    KeyValueFile onDir(dirPath);
    QVERIFY(!onDir.write(QStringLiteral("k"), QStringLiteral("v")));
    QVERIFY(onDir.errorCode() != 0);
    QVERIFY(QFileInfo(dirPath).isDir());
    const QStringList leftovers = QDir(m_dir->path()).entryList(QDir::Files);
    QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(u',')));
}

void TestFiles::resolveIgnoresLetterCase()
{
    QVERIFY(QDir().mkpath(file(QStringLiteral("Pictures/FrontView"))));
    writeFile(QStringLiteral("Pictures/FrontView/Ade.GIF"), {});
    const QString app = m_dir->path(); // without the slash on purpose
    QCOMPARE(Paths::resolve(app, QStringLiteral("pictures/frontview/ade.gif")),
             file(QStringLiteral("Pictures/FrontView/Ade.GIF")));
    QCOMPARE(Paths::resolve(app, QStringLiteral("Pictures\\FRONTVIEW\\new.gif")),
             file(QStringLiteral("Pictures/FrontView/new.gif")));
    QCOMPARE(Paths::resolve(app, QStringLiteral("Sounds/Wav/Intro.Wav")),
             file(QStringLiteral("Sounds/Wav/Intro.Wav")));
    QVERIFY(Paths::exists(app, QStringLiteral("PICTURES/frontView/ADE.gif")));
    QVERIFY(!Paths::exists(app, QStringLiteral("Pictures/FrontView")));

    // The folder's listing is kept while the folder stays as it was (an old
    // folder, as in a school's photo folder), and read again once it changes.
    const QString folder = file(QStringLiteral("Pictures/FrontView"));
    const auto age = [&folder] {
        const struct timeval hourAgo[2] = {{time(nullptr) - 3600, 0}, {time(nullptr) - 3600, 0}};
        QCOMPARE(utimes(QFile::encodeName(folder).constData(), hourAgo), 0);
    };
    age();
    QVERIFY(!Paths::exists(app, QStringLiteral("Pictures/FrontView/ann.gif")));
    writeFile(QStringLiteral("Pictures/FrontView/Ann.Gif"), {});
    QVERIFY(Paths::exists(app, QStringLiteral("Pictures/FrontView/ann.gif")));
    age();
    QVERIFY(Paths::exists(app, QStringLiteral("Pictures/FrontView/ANN.GIF")));
    QVERIFY(QFile::rename(file(QStringLiteral("Pictures/FrontView/Ann.Gif")),
                          file(QStringLiteral("Pictures/FrontView/ANN.gif"))));
    QCOMPARE(Paths::resolve(app, QStringLiteral("Pictures/FrontView/ann.gif")),
             file(QStringLiteral("Pictures/FrontView/ANN.gif")));
    QVERIFY(QFile::remove(file(QStringLiteral("Pictures/FrontView/ANN.gif"))));
    QVERIFY(!Paths::exists(app, QStringLiteral("Pictures/FrontView/ann.gif")));
}

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
