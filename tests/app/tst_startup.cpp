#include "TestProgram.h"
#include "app/KolvaneMain.h"
#include "app/Startup.h"
#include "app/StartupSteps.h"
#include "platform/Database.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>
#include <QSqlQuery>
#include <QTest>

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void freshFolderWithoutPicturesAndSounds();
    void emptyDatabaseRestoredFromBackup();
    void databaseAndBackupMissing();
    void damagedDatabaseKeptAside();
    void damagedDatabaseWithoutBackup();
    void emptyDatabaseWithDamagedBackup();
    void musicList_data();
    void musicList();
    void stateAfterStart();
};

void TestStartup::freshFolderWithoutPicturesAndSounds()
{
    TestProgram p(TestProgram::Bare);
    QVERIFY(QDir().mkdir(p.file(QStringLiteral("Progs"))));
    p.copyEmptyDatabaseTo(QStringLiteral("Progs/Kolvane.db"));

    StartupResult r = Main(*p.state, p.appPath());
    QCOMPARE(r.verdict, StartupResult::RunEventLoop);
    for (const char *made : {"Reports", "Backup", "Progs"})
        QVERIFY2(QFileInfo(p.file(QString::fromLatin1(made))).isDir(), made);
    for (const char *skipped : {"Pictures", "Pictures/FrontView", "Sounds", "Sounds/Wav", "Sounds/Midi"})
        QVERIFY2(!QFileInfo::exists(p.file(QString::fromLatin1(skipped))), skipped);
    QVERIFY(p.messages.shown.isEmpty());
    QVERIFY(p.waiter.waits.isEmpty());
    QVERIFY(r.mainWindow->isVisible());
    QCOMPARE(r.mainWindow->windowTitle(), QStringLiteral("School Brindlemark"));
    QVERIFY(p.state->db().isOpen());
    // The splash is gone once the main window shows.
    for (QWidget *w : QApplication::topLevelWidgets())
        if (w->objectName() == QStringLiteral("Splash"))
            QVERIFY(!w->isVisible());
}

void TestStartup::emptyDatabaseRestoredFromBackup()
{
    TestProgram p;
    p.copyEmptyDatabaseTo(QStringLiteral("Backup/KolvaneBackup.db"));
    {
        // Mark the backup so the restored file can be recognised.
        QSqlDatabase b = Database::open(p.file(QStringLiteral("Backup/KolvaneBackup.db")), QStringLiteral("mark"));
        QSqlQuery q(b);
        QVERIFY(q.exec(QStringLiteral("INSERT INTO Student (Number, Surname) VALUES ('S-1', 'Adeyemi')")));
    }
    Database::close(QStringLiteral("mark"));
    p.writeFile(QStringLiteral("Progs/Kolvane.db"), QByteArray());

    StartupResult r = Main(*p.state, p.appPath());
    QCOMPARE(r.verdict, StartupResult::RunEventLoop);
    QCOMPARE(p.waiter.waits, QList<int>{2});
    QVERIFY(p.messages.shown.isEmpty());
    QSqlQuery q(p.state->db());
    QVERIFY(q.exec(QStringLiteral("SELECT Surname FROM Student WHERE Number = 's-1'")) && q.next());
    QCOMPARE(q.value(0).toString(), QStringLiteral("Adeyemi"));
    QVERIFY(!QFile::permissions(p.state->databaseFile()).testFlag(QFileDevice::ReadOther));
}

void TestStartup::databaseAndBackupMissing()
{
    TestProgram p;
    QVERIFY(QFile::remove(p.file(QStringLiteral("Progs/Kolvane.db"))));

    StartupResult r = Main(*p.state, p.appPath());
    QCOMPARE(r.verdict, StartupResult::End);
    QVERIFY(!r.mainWindow);
    QCOMPARE(p.waiter.waits, QList<int>{2});
    QCOMPARE(p.messages.texts(),
             QStringList{p.file(QStringLiteral("Progs/Kolvane.db"))
                         + QStringLiteral("\r\nFile not found or is empty\r\nPlease ensure it is in that folder.")});
    QCOMPARE(p.messages.shown.first().buttons, MessageBoxes::Buttons(MessageBoxes::Ok));
    // Music stopped, then the sound; nothing written.
    QCOMPARE(p.sound.calls.mid(p.sound.calls.size() - 2),
             (QStringList{"stop music", "stop wave"}));
    QVERIFY(QDir(p.file(QStringLiteral("Backup"))).isEmpty());
    QVERIFY(!QFileInfo::exists(p.file(QStringLiteral("Progs/Kolvane.db"))));
}

void TestStartup::damagedDatabaseKeptAside()
{
    TestProgram p;
    p.copyEmptyDatabaseTo(QStringLiteral("Backup/KolvaneBackup.db"));
    const QByteArray junk(8192, 'j');
    p.writeFile(QStringLiteral("Progs/Kolvane.db"), junk);

    StartupResult r = Main(*p.state, p.appPath());
    QCOMPARE(r.verdict, StartupResult::RunEventLoop);
    const QString kept = p.file(QStringLiteral("Progs/Kolvane.db.damaged-20260314-092653"));
    QFile keptFile(kept);
    QVERIFY(keptFile.open(QIODevice::ReadOnly));
    QCOMPARE(keptFile.readAll(), junk);
    QVERIFY(Database::isReadableDatabase(p.state->databaseFile()));
    QCOMPARE(p.messages.shown.size(), 1);
    QVERIFY(p.messages.shown.first().text.contains(kept));
    QVERIFY(p.messages.shown.first().text.contains(QStringLiteral("backup copy was restored")));
    QVERIFY(p.state->db().isOpen());
    QSqlQuery q(p.state->db());
    QVERIFY(q.exec(QStringLiteral("SELECT count(*) FROM Fees")) && q.next());
    QCOMPARE(q.value(0).toInt(), 19);
}

void TestStartup::damagedDatabaseWithoutBackup()
{
    TestProgram p;
    p.writeFile(QStringLiteral("Progs/Kolvane.db"), QByteArray(4096, 'j'));
    StartupResult r = Main(*p.state, p.appPath());
    QCOMPARE(r.verdict, StartupResult::End);
    QCOMPARE(p.messages.shown.size(), 1);
    QVERIFY(p.messages.shown.first().text.startsWith(p.file(QStringLiteral("Progs/Kolvane.db")) + u'\r'));
    // The damaged file is never deleted.
    QCOMPARE(Database::fileLength(p.file(QStringLiteral("Progs/Kolvane.db"))), 4096);
}

void TestStartup::emptyDatabaseWithDamagedBackup()
{
    TestProgram p;
    p.writeFile(QStringLiteral("Progs/Kolvane.db"), QByteArray());
    p.writeFile(QStringLiteral("Backup/KolvaneBackup.db"), QByteArray(4096, 'b'));
    StartupResult r = Main(*p.state, p.appPath());
    QCOMPARE(r.verdict, StartupResult::End);
    QCOMPARE(Database::fileLength(p.file(QStringLiteral("Progs/Kolvane.db"))), 0);
    QCOMPARE(Database::fileLength(p.file(QStringLiteral("Backup/KolvaneBackup.db"))), 4096);
}

void TestStartup::musicList_data()
{
    QTest::addColumn<QStringList>("files");
    QTest::addColumn<QStringList>("expected");
    QTest::newRow("two rmi only") << QStringList{"b.rmi", "a.RMI", "notes.txt"}
                                  << QStringList{"a.RMI", "b.rmi"};
    QTest::newRow("mid before rmi") << QStringList{"a.rmi", "z.MID", "m.mid"}
                                    << QStringList{"m.mid", "z.MID", "a.rmi"};
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
    QCOMPARE(p.state->MusicCount(), int(expected.size()));
}

void TestStartup::stateAfterStart()
{
    TestProgram p;
    p.writeTypicalIni();
    p.writeFile(QStringLiteral("Progs/Kolvane.settings"),
                "Software\\VELMORAN\\KOLVANE100\\SchoolName= Brindlemark Grammar School \n");
    // A folder given with its slash keeps exactly one.
    StartupResult r = Main(*p.state, p.appPath());
    QCOMPARE(r.verdict, StartupResult::RunEventLoop);
    QCOMPARE(p.state->AppPath, p.appPath());
    QVERIFY(!p.state->AppPath.endsWith(QStringLiteral("//")));
    QCOMPARE(QDir::currentPath() + u'/', QFileInfo(p.appPath()).canonicalFilePath() + u'/');
    QCOMPARE(p.state->SchoolName, QStringLiteral("Brindlemark Grammar School"));
    QCOMPARE(p.state->IniPath, p.file(QStringLiteral("Progs/Kolvane.ini")));
    QCOMPARE(p.state->classes.CurrentTerm, QStringLiteral("Second Term_2026/2027 "));
    QCOMPARE(p.state->classes.LevelsWithArms.first(), QStringLiteral("Nursery1"));
    QCOMPARE(p.state->classes.ClassLevelNames[18], QStringLiteral("Secondary8"));
    QCOMPARE(p.state->IntroWav, p.file(QStringLiteral("Sounds/Wav/Intro.Wav")));
    QCOMPARE(p.state->SirenWav, p.file(QStringLiteral("Sounds/Wav/Siren1.Wav")));
    QVERIFY(p.state->VoiceOn);
    QCOMPARE(p.state->RecordKind, QStringLiteral("Student"));
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
