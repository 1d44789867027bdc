#include "platform/Database.h"
#include "platform/KeyValueFile.h"
#include "platform/Paths.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

class TestFiles : public QObject
{
    Q_OBJECT
private slots:
    void init();
    void roundTrip_data();
    void roundTrip();
    void keysAreExact();
    void otherKeysAndCommentsSurvive();
    void handEditedFileIsRead();
    void absentKeyAndFile();
    void failedWriteLeavesNoFile();
    void permissionsOfNewFile();
    void resolveIgnoresLetterCase();
    void databaseChecks();
    void atomicCopy();

private:
    std::unique_ptr<QTemporaryDir> m_dir;
    QString file(const QString &name) const { return m_dir->path() + u'/' + name; }
};

void TestFiles::init()
{
    m_dir = std::make_unique<QTemporaryDir>();
    QVERIFY(m_dir->isValid());
}

void TestFiles::roundTrip_data()
{
    QTest::addColumn<QString>("key");
    QTest::addColumn<QString>("value");
    QTest::newRow("plain") << "CurrentTerm" << "Second Term_2004/2005";
    QTest::newRow("blanks around") << "Primary1(1)" << "  Blue  ";
    QTest::newRow("tab at the edge") << "k" << "\tx\t";
    QTest::newRow("equals in value") << "k" << "a=b=c";
    QTest::newRow("equals in key") << "a=b" << "v";
    QTest::newRow("line breaks") << "k" << "one\r\ntwo\nthree";
    QTest::newRow("backslashes") << "Software\\VELMORAN\\KOLVANE100\\PwInf"
                                 << "C:\\new\\stuff\\";
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

void TestFiles::keysAreExact()
{
    KeyValueFile store(file(QStringLiteral("store.ini")));
    QVERIFY(store.write(QStringLiteral("Primary1(1)"), QStringLiteral("Blue")));
    QVERIFY(store.write(QStringLiteral("primary1(1)"), QStringLiteral("Red")));
    QCOMPARE(store.read(QStringLiteral("Primary1(1)")), QStringLiteral("Blue"));
    QCOMPARE(store.read(QStringLiteral("primary1(1)")), QStringLiteral("Red"));
    QCOMPARE(store.read(QStringLiteral("PRIMARY1(1)")), QString());
    // A rewrite replaces the value in place.
    QVERIFY(store.write(QStringLiteral("Primary1(1)"), QStringLiteral("Green")));
    QCOMPARE(store.read(QStringLiteral("Primary1(1)")), QStringLiteral("Green"));
    QCOMPARE(store.readAll().size(), 2);
}

void TestFiles::otherKeysAndCommentsSurvive()
{
    const QString path = file(QStringLiteral("store.ini"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("# kept by the office\nNumberOfPrimary1=5\n\nPrimary1(4)=Old\n");
    f.close();
    KeyValueFile store(path);
    QVERIFY(store.write(QStringLiteral("NumberOfPrimary1"), QStringLiteral("3")));
    QVERIFY(store.write(QStringLiteral("CurrentTerm"), QStringLiteral("First Term_2026/2027")));
    QVERIFY(f.open(QIODevice::ReadOnly));
    QCOMPARE(f.readAll(), QByteArray("# kept by the office\nNumberOfPrimary1=3\n\nPrimary1(4)=Old\n"
                                     "CurrentTerm=First Term_2026/2027\n"));
}

void TestFiles::handEditedFileIsRead()
{
    const QString path = file(QStringLiteral("Kolvane.settings"));
    QFile f(path);
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.write("Software\\VELMORAN\\KOLVANE100\\SchoolName =  Brindlemark High School \r\n");
    f.close();
    QCOMPARE(KeyValueFile(path).read(QStringLiteral("Software\\VELMORAN\\KOLVANE100\\SchoolName")),
             QStringLiteral("Brindlemark High School"));
}

void TestFiles::absentKeyAndFile()
{
    KeyValueFile missing(file(QStringLiteral("none.ini")));
    bool found = true;
    QCOMPARE(missing.read(QStringLiteral("k"), &found), QString());
    QVERIFY(!found);
    QVERIFY(missing.readAll().isEmpty());
    QCOMPARE(ReadVar(QStringLiteral("k"), file(QStringLiteral("none.ini"))), QString());
}

void TestFiles::failedWriteLeavesNoFile()
{
    KeyValueFile store(file(QStringLiteral("no/such/folder/store.ini")));
    QVERIFY(!store.write(QStringLiteral("k"), QStringLiteral("v")));
    QVERIFY(store.errorCode() != 0);
    QVERIFY(!QFile::exists(store.path()));

    // A target that cannot be replaced keeps what it was.
    const QString dirPath = file(QStringLiteral("adir"));
    QVERIFY(QDir().mkdir(dirPath));
    KeyValueFile onDir(dirPath);
    QVERIFY(!onDir.write(QStringLiteral("k"), QStringLiteral("v")));
    QVERIFY(QFileInfo(dirPath).isDir());
    const QStringList leftovers = QDir(m_dir->path()).entryList(QDir::Files);
    QVERIFY2(leftovers.isEmpty(), qPrintable(leftovers.join(u',')));
}

void TestFiles::permissionsOfNewFile()
{
    KeyValueFile store(file(QStringLiteral("private")), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    QVERIFY(store.write(QStringLiteral("k"), QStringLiteral("v")));
    const auto perms = QFile::permissions(store.path());
    QVERIFY(perms.testFlag(QFileDevice::ReadOwner));
    QVERIFY(!perms.testFlag(QFileDevice::ReadGroup));
    QVERIFY(!perms.testFlag(QFileDevice::ReadOther));
    // A rewrite keeps them.
    QVERIFY(store.write(QStringLiteral("k"), QStringLiteral("w")));
    QVERIFY(!QFile::permissions(store.path()).testFlag(QFileDevice::ReadOther));
}

void TestFiles::resolveIgnoresLetterCase()
{
    QVERIFY(QDir().mkpath(file(QStringLiteral("Pictures/FrontView"))));
    QFile f(file(QStringLiteral("Pictures/FrontView/Ade.GIF")));
    QVERIFY(f.open(QIODevice::WriteOnly));
    f.close();
    const QString app = m_dir->path(); // without the slash on purpose
    QCOMPARE(Paths::resolve(app, QStringLiteral("pictures/frontview/ade.gif")),
             file(QStringLiteral("Pictures/FrontView/Ade.GIF")));
    QCOMPARE(Paths::resolve(app, QStringLiteral("Pictures\\FRONTVIEW\\new.gif")),
             file(QStringLiteral("Pictures/FrontView/new.gif")));
    QCOMPARE(Paths::resolve(app, QStringLiteral("Sounds/Wav/Intro.Wav")),
             file(QStringLiteral("Sounds/Wav/Intro.Wav")));
    QVERIFY(Paths::exists(app, QStringLiteral("PICTURES/frontView/ADE.gif")));
    QVERIFY(!Paths::exists(app, QStringLiteral("Pictures/FrontView")));
    QCOMPARE(Paths::withTrailingSlash(QStringLiteral("/")), QStringLiteral("/"));
    QCOMPARE(Paths::withTrailingSlash(QStringLiteral("/opt/k")), QStringLiteral("/opt/k/"));
}

void TestFiles::databaseChecks()
{
    const QString good = file(QStringLiteral("good.db"));
    QVERIFY(QFile::copy(QStringLiteral(KOLVANE_EMPTY_DB_FILE), good));
    QVERIFY(Database::isReadableDatabase(good));
    QVERIFY(Database::passesQuickCheck(good));

    const QString junk = file(QStringLiteral("junk.db"));
    QFile j(junk);
    QVERIFY(j.open(QIODevice::WriteOnly));
    j.write(QByteArray(4096, 'x'));
    j.close();
    QVERIFY(!Database::isReadableDatabase(junk));
    QVERIFY(!Database::passesQuickCheck(junk));

    // A right header over a torn file.
    const QString torn = file(QStringLiteral("torn.db"));
    QFile t(torn);
    QVERIFY(t.open(QIODevice::WriteOnly));
    QFile src(good);
    QVERIFY(src.open(QIODevice::ReadOnly));
    QByteArray bytes = src.readAll();
    bytes.replace(100, bytes.size() - 100, QByteArray(bytes.size() - 100, '\xff'));
    t.write(bytes);
    t.close();
    QVERIFY(!Database::passesQuickCheck(torn));

    QVERIFY(!Database::isReadableDatabase(file(QStringLiteral("missing.db"))));
    QVERIFY(!QFile::exists(file(QStringLiteral("missing.db"))));
}

void TestFiles::atomicCopy()
{
    const QString from = file(QStringLiteral("from.db"));
    QVERIFY(QFile::copy(QStringLiteral(KOLVANE_EMPTY_DB_FILE), from));
    const QString to = file(QStringLiteral("to.db"));
    QVERIFY(Database::copyAtomically(from, to));
    QCOMPARE(Database::fileLength(to), Database::fileLength(from));
    QVERIFY(!QFile::permissions(to).testFlag(QFileDevice::ReadOther));

    // A failed copy leaves the old target as it was.
    QString error;
    QVERIFY(!Database::copyAtomically(file(QStringLiteral("absent.db")), to, &error));
    QVERIFY(!error.isEmpty());
    QCOMPARE(Database::fileLength(to), Database::fileLength(from));
}

QTEST_GUILESS_MAIN(TestFiles)
#include "tst_files.moc"
