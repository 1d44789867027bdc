#include "TestProgram.h"
#include "app/SettingsStore.h"
#include "platform/KeyValueFile.h"

#include <QFile>
#include <QTest>

#include <cerrno>
#include <unistd.h>

namespace {

const QString School = QStringLiteral("SchoolName");
const QString Pw = QStringLiteral("PwInf");

QString settingsFile(const TestProgram &p)
{
    return SettingsStore::fileIn(p.appPath());
}

// It holds the password hash: nobody else may read it.
bool ownerOnly(const QString &file)
{
    const auto others =
        QFileDevice::ReadGroup | QFileDevice::WriteGroup | QFileDevice::ReadOther | QFileDevice::WriteOther;
    return QFile::exists(file) && !(QFile::permissions(file) & others);
}

} // namespace

class TestSettings : public QObject
{
    Q_OBJECT
private slots:
    void roundTrip_data();
    void roundTrip();
    void failedWrite_data();
    void failedWrite();
};

void TestSettings::roundTrip_data()
{
    QTest::addColumn<QString>("value");
    QTest::addColumn<QString>("read"); // what ReadSetting gives back
    QTest::newRow("blanks inside") << "a  b   c" << "a  b   c";
    QTest::newRow("blanks around") << "   Kestrel  " << "Kestrel";
    QTest::newRow("blanks only") << "    " << "";
    // Other texts are the key file's to keep (its own round trip).
}

void TestSettings::roundTrip()
{
    QFETCH(QString, value);
    QFETCH(QString, read);
    TestProgram p;
    // Over an old record in a file made by hand with wider rights.
    p.writeFile(QStringLiteral("Progs/Kolvane.settings"), "Software\\VELMORAN\\KOLVANE100\\SchoolName=old\n");
    QVERIFY(QFile::setPermissions(settingsFile(p), QFile::permissions(settingsFile(p)) | QFileDevice::ReadOther));
    SettingsStore store(settingsFile(p), p.messages);
    QVERIFY(store.WriteSetting(value, School));
    // Stored exactly as given, under the exact key; only the reader trims.
    QCOMPARE(KeyValueFile(settingsFile(p)).read(QStringLiteral("Software\\VELMORAN\\KOLVANE100\\SchoolName")),
             value);
    // A second store over the same file, as the next run would have.
    QCOMPARE(SettingsStore(settingsFile(p), p.messages).ReadSetting(School), read);
    QVERIFY(ownerOnly(settingsFile(p)));
    QVERIFY(p.messages.shown.isEmpty());
}

void TestSettings::failedWrite_data()
{
    QTest::addColumn<QString>("cause");
    QTest::addColumn<int>("error");
    QTest::newRow("folder missing") << "missing" << ENOENT;
    QTest::newRow("a file named like the folder") << "file" << ENOTDIR;
    QTest::newRow("folder not writable") << "readonly" << EACCES;
}

void TestSettings::failedWrite()
{
    QFETCH(QString, cause);
    QFETCH(int, error);
    const bool readOnly = cause == QLatin1String("readonly");
    if (readOnly && ::geteuid() == 0)
        QSKIP("file permissions do not bind the super-user");
    TestProgram p(readOnly ? TestProgram::Full : TestProgram::Bare);
    if (cause == QLatin1String("file"))
        p.writeFile(QStringLiteral("Progs"), "not a folder");
    SettingsStore store(settingsFile(p), p.messages);
    const QString progs = p.file(QStringLiteral("Progs"));
    if (readOnly) {
        QVERIFY(store.WriteSetting(QStringLiteral("old"), Pw));
        QVERIFY(QFile::setPermissions(progs, QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    }
    const bool written = store.WriteSetting(QStringLiteral("new"), Pw);
    if (readOnly)
        QFile::setPermissions(progs, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                         QFileDevice::ExeOwner);
    QVERIFY(!written);
    QCOMPARE(p.messages.texts(), QStringList{QStringLiteral("Error Creating Registry Key Entry:\r\n"
                                                            "Key = Software\\VELMORAN\\KOLVANE100\\PwInf\r\n"
                                                            "DLL Returned = %1").arg(error)});
    // The old record, or none, is still what reads back, silently; an unreadable file reads empty.
    QCOMPARE(store.ReadSetting(Pw), readOnly ? QStringLiteral("old") : QString());
    QVERIFY(!readOnly || QFile::setPermissions(settingsFile(p), QFileDevice::WriteOwner));
    QCOMPARE(store.ReadSetting(Pw), QString());
    QCOMPARE(p.messages.shown.size(), 1);
}

QTEST_GUILESS_MAIN(TestSettings)
#include "tst_settings.moc"
