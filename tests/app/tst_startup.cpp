#include "TestProgram.h"
#include "app/KolvaneMain.h"
#include "app/Startup.h"
#include "platform/Database.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QTest>

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void freshFolderWithoutPicturesAndSounds();
    void databaseCheck_data();
    void databaseCheck();
    void musicList_data();
    void musicList();
};

void TestStartup::freshFolderWithoutPicturesAndSounds()
{
    TestProgram p(TestProgram::Bare);
    p.writeTypicalIni();
    p.copyEmptyDatabaseTo(QStringLiteral("Progs/Kolvane.db"));
    p.writeFile(QStringLiteral("Progs/Kolvane.settings"),
                "Software\\VELMORAN\\KOLVANE100\\SchoolName= Brindlemark Grammar School \n");

    StartupResult r = Main(*p.state, p.appPath());
    QCOMPARE(r.verdict, StartupResult::RunEventLoop);
    for (const char *made : {"Reports", "Backup", "Progs"})
        QVERIFY2(QFileInfo(p.file(QString::fromLatin1(made))).isDir(), made);
    for (const char *skipped : {"Pictures", "Pictures/FrontView", "Sounds", "Sounds/Wav", "Sounds/Midi"})
        QVERIFY2(!QFileInfo::exists(p.file(QString::fromLatin1(skipped))), skipped);
    QVERIFY(p.messages.shown.isEmpty());
    QVERIFY(p.waiter.waits.isEmpty());
    // Each step of the sequence left its mark.
    QCOMPARE(p.state->SchoolName, QStringLiteral("Brindlemark Grammar School"));
    QCOMPARE(p.state->AppPath, p.appPath()); // given with its slash, it keeps exactly one
    QCOMPARE(QDir::currentPath() + u'/', QFileInfo(p.appPath()).canonicalFilePath() + u'/');
    QCOMPARE(p.state->IntroWav, p.file(QStringLiteral("Sounds/Wav/Intro.Wav")));
    QVERIFY(p.state->VoiceOn);
    QCOMPARE(p.state->classes.CurrentTerm, QStringLiteral("Second Term_2026/2027 "));
    QVERIFY(p.state->db().isOpen());
    QVERIFY(r.mainWindow->isVisible());
    // The splash is gone once the main window shows.
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("Splash"))
            QVERIFY(!w->isVisible());
}

namespace {
const int Missing = -1, Good = -2; // file sizes with a meaning of their own
}

void TestStartup::databaseCheck_data()
{
    QTest::addColumn<int>("dbSize");
    QTest::addColumn<int>("backupSize");
    QTest::addColumn<QList<int>>("waits");
    QTest::addColumn<QString>("says"); // the one message: none, the damaged file kept, or the file missing
    QTest::newRow("empty database, good backup") << 0 << Good << QList<int>{2} << "";
    QTest::newRow("damaged database, good backup") << 8192 << Good << QList<int>{} << "kept";
    QTest::newRow("database and backup missing") << Missing << Missing << QList<int>{2} << "missing";
    QTest::newRow("damaged database, no backup") << 4096 << Missing << QList<int>{} << "missing";
    QTest::newRow("empty database, damaged backup") << 0 << 4096 << QList<int>{2} << "missing";
}

void TestStartup::databaseCheck()
{
    QFETCH(int, dbSize);
    QFETCH(int, backupSize);
    QFETCH(QList<int>, waits);
    QFETCH(QString, says);
    TestProgram p;
    const QString db = p.file(QStringLiteral("Progs/Kolvane.db"));
    const QString backup = p.file(QStringLiteral("Backup/KolvaneBackup.db"));
    for (const auto &[file, size] : {std::pair{db, dbSize}, std::pair{backup, backupSize}}) {
        QFile::remove(file);
        if (size == Good)
            p.copyEmptyDatabaseTo(file.mid(p.appPath().size()));
        else if (size >= 0)
            p.writeFile(file.mid(p.appPath().size()), QByteArray(size, 'j'));
    }
    const auto size = [](const QString &f) { return QFileInfo::exists(f) ? int(QFileInfo(f).size()) : Missing; };

    StartupResult r = Main(*p.state, p.appPath());
    QCOMPARE(p.waiter.waits, waits);
    QCOMPARE(p.messages.shown.size(), says.isEmpty() ? 0 : 1);
    if (says == QStringLiteral("missing")) {
        QCOMPARE(r.verdict, StartupResult::End);
        QVERIFY(!r.mainWindow);
        QCOMPARE(p.messages.texts().first(),
                 db + QStringLiteral("\r\nFile not found or is empty\r\nPlease ensure it is in that folder."));
        QCOMPARE(p.messages.shown.first().buttons, MessageBoxes::Buttons(MessageBoxes::Ok));
        // Music stopped, then the sound; nothing written, nothing deleted.
        QCOMPARE(p.sound.calls.mid(p.sound.calls.size() - 2), (QStringList{"stop music", "stop wave"}));
        QCOMPARE(size(db), dbSize);
        QCOMPARE(size(backup), backupSize);
        return;
    }
    QCOMPARE(r.verdict, StartupResult::RunEventLoop);
    QVERIFY(Database::isReadableDatabase(db));
    QVERIFY(p.state->db().isOpen());
    QVERIFY(!QFile::permissions(db).testFlag(QFileDevice::ReadOther));
    if (says == QStringLiteral("kept")) {
        // The damaged file is never deleted: it stays beside, under a dated name.
        const QString kept = db + QStringLiteral(".damaged-20260314-092653");
        QCOMPARE(size(kept), dbSize);
        QVERIFY(p.messages.texts().first().contains(kept));
        QVERIFY(p.messages.texts().first().contains(QStringLiteral("backup copy was restored")));
    }
}

void TestStartup::musicList_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("two rmi only") << QStringList{"b.rmi", "a.RMI", "notes.txt"} << QStringList{"a.RMI", "b.rmi"};
    QTest::newRow("mid before rmi") << QStringList{"a.rmi", "z.MID", "m.mid"} << QStringList{"m.mid", "z.MID", "a.rmi"};
    QTest::newRow("none") << QStringList{"readme.txt"} << QStringList{};
}

void TestStartup::musicList()
{
    QFETCH(QStringList, files);
    QFETCH(QStringList, expected);
    TestProgram p;
    for (const QString &f : files)
        p.writeFile(QStringLiteral("Sounds/Midi/") + f, "MThd");
    StartupResult r = Main(*p.state, p.appPath());
    QCOMPARE(r.verdict, StartupResult::RunEventLoop);
    QStringList full;
    for (const QString &e : expected)
        full.append(p.file(QStringLiteral("Sounds/Midi/") + e));
    QCOMPARE(p.state->MusicFiles, full);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
