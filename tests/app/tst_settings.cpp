#include "TestProgram.h"
#include "app/SettingsStore.h"
#include "platform/KeyValueFile.h"

#include <QDir>
#include <QFile>
#include <QTest>

#include <cerrno>
#include <sys/stat.h>
#include <unistd.h>

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void recordsAreNamedUnderTheRoot_data();
    void recordsAreNamedUnderTheRoot();
    void roundTrip_data();
    void roundTrip();
    void handEditedFileIsRead();
    void absentRecordReadsEmpty();
    void unreadableFileReadsEmpty();
    void rewritingKeepsOneLineAndOtherRecords();
    void newFileIsOwnerOnly();
    void failedWrite_data();
    void failedWrite();
    void unwritableFolder();

private:
    static QString settingsFile(const TestProgram &p) { return SettingsStore::fileIn(p.appPath()); }
    static QByteArray contents(const QString &file);
};

QByteArray TestSettings::contents(const QString &file)
{
    QFile f(file);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

void TestSettings::recordsAreNamedUnderTheRoot_data()
{
    QTest::addColumn<QString>("record");
    QTest::addColumn<QByteArray>("line");
    QTest::newRow("password") << "PwInf" << QByteArray("Software\\VELMORAN\\KOLVANE100\\PwInf=x\n");
    QTest::newRow("school") << "SchoolName"
                            << QByteArray("Software\\VELMORAN\\KOLVANE100\\SchoolName=x\n");
}

// Existing stores and the administrator's hand edits depend on the exact key.
void TestSettings::recordsAreNamedUnderTheRoot()
{
    QFETCH(QString, record);
    QFETCH(QByteArray, line);
    TestProgram p;
    QCOMPARE(SettingsStore::keyOf(record),
             QStringLiteral("Software\\VELMORAN\\KOLVANE100\\") + record);
    QCOMPARE(settingsFile(p), p.file(QStringLiteral("Progs/Kolvane.settings")));

    SettingsStore store(settingsFile(p), p.messages);
    QVERIFY(store.WriteSetting(QStringLiteral("x"), record));
    QCOMPARE(contents(settingsFile(p)), line);
    QVERIFY(p.messages.shown.isEmpty());
}

void TestSettings::roundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("read"); // what ReadSetting gives back
    QTest::newRow("plain") << "Brindlemark High School"
                           << "Brindlemark High School";
    QTest::newRow("blanks inside") << "a  b   c"
                                   << "a  b   c";
    QTest::newRow("blanks around") << "   Kestrel  "
                                   << "Kestrel";
    QTest::newRow("equals signs") << "a=b==c="
                                  << "a=b==c=";
    QTest::newRow("hash first") << "# not a comment"
                                << "# not a comment";
    QTest::newRow("line breaks") << "one\r\ntwo\nthree"
                                 << "one\r\ntwo\nthree";
    QTest::newRow("backslashes") << "C:\\new\\stuff\\"
                                 << "C:\\new\\stuff\\";
    QTest::newRow("non-ASCII") << QString::fromUtf8("Ọlábísí Çağrı Straße 東京")
                               << QString::fromUtf8("Ọlábísí Çağrı Straße 東京");
    QTest::newRow("argon2 hash") << "$argon2id$v=19$m=65536,t=2,p=1$Pns6fGfpknE5NHn/"
                                    "KUfamQ$qPXpJbhIMpXsV7lOIXQ/hEf1I/zJCKXS8QO1JD0Ink8"
                                 << "$argon2id$v=19$m=65536,t=2,p=1$Pns6fGfpknE5NHn/"
                                    "KUfamQ$qPXpJbhIMpXsV7lOIXQ/hEf1I/zJCKXS8QO1JD0Ink8";
    QTest::newRow("blanks only") << "    "
                                 << "";
    QTest::newRow("empty") << ""
                           << "";
}

void TestSettings::roundTrip()
{
    QFETCH(QString, value);
    QFETCH(QString, read);
    TestProgram p;
    SettingsStore store(settingsFile(p), p.messages);
    QVERIFY(store.WriteSetting(value, QStringLiteral("SchoolName")));
    // Stored exactly as given; only the reader trims.
    bool found = false;
    QCOMPARE(KeyValueFile(settingsFile(p))
                 .read(SettingsStore::keyOf(QStringLiteral("SchoolName")), &found),
             value);
    QVERIFY(found);
    QCOMPARE(store.ReadSetting(QStringLiteral("SchoolName")), read);
    // A second store over the same file, as the next run would have.
    QCOMPARE(SettingsStore(settingsFile(p), p.messages).ReadSetting(QStringLiteral("SchoolName")),
             read);
    QVERIFY(p.messages.shown.isEmpty());
}

// The README tells an administrator to set the school's name this way.
void TestSettings::handEditedFileIsRead()
{
    TestProgram p;
    p.writeFile(QStringLiteral("Progs/Kolvane.settings"),
                "# set by the office\r\n"
                "Software\\VELMORAN\\KOLVANE100\\SchoolName =   St. Agnes' School, Oyo  \r\n");
    SettingsStore store(settingsFile(p), p.messages);
    QCOMPARE(store.ReadSetting(QStringLiteral("SchoolName")),
             QStringLiteral("St. Agnes' School, Oyo"));
    QCOMPARE(store.ReadSetting(QStringLiteral("PwInf")), QString());

    // A write keeps the administrator's comment and record.
    QVERIFY(store.WriteSetting(QStringLiteral("h"), QStringLiteral("PwInf")));
    QVERIFY(contents(settingsFile(p)).startsWith("# set by the office\n"));
    QCOMPARE(store.ReadSetting(QStringLiteral("SchoolName")),
             QStringLiteral("St. Agnes' School, Oyo"));
}

void TestSettings::absentRecordReadsEmpty()
{
    TestProgram p;
    SettingsStore store(settingsFile(p), p.messages);
    // No file at all.
    QCOMPARE(store.ReadSetting(QStringLiteral("PwInf")), QString());
    QVERIFY(!QFile::exists(settingsFile(p)));
    // A file without the record; a record spelt in other letter case is another record.
    QVERIFY(store.WriteSetting(QStringLiteral("x"), QStringLiteral("pwinf")));
    QCOMPARE(store.ReadSetting(QStringLiteral("PwInf")), QString());
    QCOMPARE(store.ReadSetting(QStringLiteral("pwinf")), QStringLiteral("x"));
    // A program folder without its Progs folder.
    TestProgram bare(TestProgram::Bare);
    QCOMPARE(SettingsStore(settingsFile(bare), bare.messages).ReadSetting(QStringLiteral("PwInf")),
             QString());
    QVERIFY(p.messages.shown.isEmpty());
    QVERIFY(bare.messages.shown.isEmpty());
}

void TestSettings::unreadableFileReadsEmpty()
{
    if (::geteuid() == 0)
        QSKIP("file permissions do not bind the super-user");
    TestProgram p;
    SettingsStore store(settingsFile(p), p.messages);
    QVERIFY(store.WriteSetting(QStringLiteral("Brindlemark"), QStringLiteral("SchoolName")));
    QVERIFY(QFile::setPermissions(settingsFile(p), QFileDevice::WriteOwner));
    QCOMPARE(store.ReadSetting(QStringLiteral("SchoolName")), QString());
    QVERIFY(p.messages.shown.isEmpty());
}

void TestSettings::rewritingKeepsOneLineAndOtherRecords()
{
    TestProgram p;
    SettingsStore store(settingsFile(p), p.messages);
    QVERIFY(store.WriteSetting(QStringLiteral("first"), QStringLiteral("PwInf")));
    QVERIFY(store.WriteSetting(QStringLiteral("Brindlemark"), QStringLiteral("SchoolName")));
    QVERIFY(store.WriteSetting(QStringLiteral("second"), QStringLiteral("PwInf")));
    QCOMPARE(store.ReadSetting(QStringLiteral("PwInf")), QStringLiteral("second"));
    QCOMPARE(store.ReadSetting(QStringLiteral("SchoolName")), QStringLiteral("Brindlemark"));
    QCOMPARE(contents(settingsFile(p)).count("PwInf"), 1);
}

void TestSettings::newFileIsOwnerOnly()
{
    TestProgram p;
    SettingsStore store(settingsFile(p), p.messages);
    QVERIFY(store.WriteSetting(QStringLiteral("h"), QStringLiteral("PwInf")));
    struct stat st = {};
    QCOMPARE(::stat(QFile::encodeName(settingsFile(p)).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, 0600u);
    // Later writes replace the file; it stays private.
    QVERIFY(store.WriteSetting(QStringLiteral("h2"), QStringLiteral("PwInf")));
    QCOMPARE(::stat(QFile::encodeName(settingsFile(p)).constData(), &st), 0);
    QCOMPARE(st.st_mode & 0777, 0600u);
}

void TestSettings::failedWrite_data()
{
    QTest::addColumn<QString>("blocker"); // what stands where the folder should be
    QTest::addColumn<int>("error");
    QTest::newRow("folder missing") << "" << ENOENT;
    QTest::newRow("a file named like the folder") << "file" << ENOTDIR;
}

void TestSettings::failedWrite()
{
    QFETCH(QString, blocker);
    QFETCH(int, error);
    TestProgram p(TestProgram::Bare);
    if (!blocker.isEmpty())
        p.writeFile(QStringLiteral("Progs"), "not a folder");

    SettingsStore store(settingsFile(p), p.messages);
    QVERIFY(!store.WriteSetting(QStringLiteral("h"), QStringLiteral("PwInf")));
    QCOMPARE(p.messages.shown.size(), 1);
    QCOMPARE(p.messages.shown.at(0).text,
             QStringLiteral("Error Creating Registry Key Entry:\r\n"
                            "Key = Software\\VELMORAN\\KOLVANE100\\PwInf\r\n"
                            "DLL Returned = %1")
                 .arg(error));
    QCOMPARE(p.messages.shown.at(0).icon, MessageBoxes::Icon::Exclamation);
    QCOMPARE(p.messages.shown.at(0).buttons, MessageBoxes::Buttons(MessageBoxes::Ok));
    QVERIFY(!QFile::exists(settingsFile(p)));
    QCOMPARE(store.ReadSetting(QStringLiteral("PwInf")), QString());
    QCOMPARE(p.messages.shown.size(), 1);
}

void TestSettings::unwritableFolder()
{
    if (::geteuid() == 0)
        QSKIP("file permissions do not bind the super-user");
    TestProgram p;
    SettingsStore store(settingsFile(p), p.messages);
    QVERIFY(store.WriteSetting(QStringLiteral("old"), QStringLiteral("PwInf")));
    const QString progs = p.file(QStringLiteral("Progs"));
    QVERIFY(QFile::setPermissions(progs, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    const bool written = store.WriteSetting(QStringLiteral("new"), QStringLiteral("PwInf"));
    QFile::setPermissions(progs,
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    QVERIFY(!written);
    QCOMPARE(p.messages.texts(),
             QStringList{QStringLiteral("Error Creating Registry Key Entry:\r\n"
                                        "Key = Software\\VELMORAN\\KOLVANE100\\PwInf\r\n"
                                        "DLL Returned = %1")
                             .arg(EACCES)});
    // The old record is untouched.
    QCOMPARE(store.ReadSetting(QStringLiteral("PwInf")), QStringLiteral("old"));
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
