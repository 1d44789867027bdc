#include "TestProgram.h"
#include "Widgets.h"
#include "app/Backups.h"
#include "app/KolvaneMain.h"
#include "app/Startup.h"

#include <QApplication>
#include <QDir>
#include <QFileInfo>

#include <unistd.h>

using namespace Qt::StringLiterals;

class TestStartup : public QObject
{
    Q_OBJECT
private slots:
    void freshFolderWithoutPicturesAndSounds();
    void databaseCheck_data();
    void databaseCheck();
    void backups();
};

void TestStartup::freshFolderWithoutPicturesAndSounds()
{
    TestProgram p(TestProgram::Bare);
    p.writeTypicalIni();
    p.copyEmptyDatabaseTo(QStringLiteral("Progs/Kolvane.db"));
    // As the README tells an administrator to set the school's name.
    p.writeFile(QStringLiteral("Progs/Kolvane.settings"),
                "# set by the office\r\nSoftware\\VELMORAN\\KOLVANE100\\SchoolName =  Brindlemark  "
                "Grammar School  \r\n");

    StartupResult r = Main(*p.state, p.appPath());
    QCOMPARE(r.verdict, StartupResult::RunEventLoop);
    for (const char *made : {"Reports", "Backup", "Progs"})
        QVERIFY2(QFileInfo(p.file(QString::fromLatin1(made))).isDir(), made);
    for (const char *skipped : {"Pictures", "Sounds"})
        QVERIFY2(!QFileInfo::exists(p.file(QString::fromLatin1(skipped))), skipped);
    QVERIFY(p.waiter.waits.isEmpty() && p.state->MusicFiles.isEmpty());
    // Made by hand with wider rights, it holds the password hash: owner-only now.
    QVERIFY(!(QFile::permissions(p.file(QStringLiteral("Progs/Kolvane.settings"))) &
              0x0ff)); // group, others
    // Each step of the sequence left its mark.
    QCOMPARE(p.state->SchoolName, QStringLiteral("Brindlemark  Grammar School"));
    QCOMPARE(p.state->AppPath, p.appPath()); // given with its slash, it keeps exactly one
    QCOMPARE(QDir::currentPath() + u'/', QFileInfo(p.appPath()).canonicalFilePath() + u'/');
    QCOMPARE(p.state->classes.CurrentTerm, QStringLiteral("Second Term_2026/2027 "));
    QVERIFY(r.mainWindow->isVisible());
    // The splash is gone once the main window shows.
    for (QWidget *w : QApplication::topLevelWidgets())
        QVERIFY(w->objectName() != u"Splash"_s || !w->isVisible());
}

const int Missing = -1, Good = -2, Torn = -3; // file sizes with a meaning of their own
const QString Kept = u"was kept as"_s;

void TestStartup::databaseCheck_data()
{
    QTest::addColumn<int>("dbSize");
    QTest::addColumn<int>("backupSize");
    QTest::addColumn<bool>("journal"); // a journal beside the database
    QTest::addColumn<QString>("says"); // part of the one message; empty: none
    QTest::newRow("empty database, good backup") << 0 << Good << false << "";
    QTest::newRow("empty database, stale journal") << 0 << Good << true << "";
    QTest::newRow("torn database and its journal, good backup") << Torn << Good << true << Kept;
    QTest::newRow("database and backup missing")
        << Missing << Missing << false << "\r\nFile not found or is empty\r\nPlease ensure";
    QTest::newRow("junk database, no backup") << 4096 << Missing << false << "is damaged";
    QTest::newRow("empty database, damaged backup") << 0 << Torn << false << "File not found";
    QTest::newRow("database of another user") << Good << Good << false << "may not read or write";
}

void TestStartup::databaseCheck()
{
    QFETCH(int, dbSize);
    QFETCH(int, backupSize);
    QFETCH(bool, journal);
    QFETCH(QString, says);
    TestProgram p;
    const QString db = p.state->databaseFile();
    for (const auto &[file, size] : {std::pair{db, dbSize}, {p.state->backupFile(), backupSize}}) {
        const QString relative = file.mid(p.appPath().size());
        QFile::remove(file);
        if (size == Good || size == Torn)
            p.copyEmptyDatabaseTo(relative);
        if (size == Torn) { // the header right, every page behind it overwritten
            QFile f(file);
            QVERIFY(f.open(QIODevice::ReadWrite) && f.seek(100));
            f.write(QByteArray(int(f.size()) - 100, '\xff'));
        } else if (size >= 0) {
            p.writeFile(relative, QByteArray(size, 'j'));
        }
    }
    if (journal)
        p.writeFile(QStringLiteral("Progs/Kolvane.db-journal"), QByteArray(1024, '\xd9'));
    // Pieces ending .mid come before .rmi, each kind in name order; other files are no music.
    const QStringList music = {u"m.mid"_s, u"z.MID"_s, u"a.RMI"_s, u"b.rmi"_s};
    for (const QString &f : music + QStringList{u"notes.txt"_s})
        p.writeFile(u"Sounds/Midi/"_s + f, "MThd");
    const auto size = [](const QString &f) {
        return QFileInfo::exists(f) ? int(QFileInfo(f).size()) : Missing;
    };
    const int sizeBefore = size(db);
    const bool anotherUser = says.contains(QStringLiteral("may not"));
    // The super-user reads everything: be nobody for the start.
    if (anotherUser && ::geteuid() == 0) {
        QVERIFY(QFile::setPermissions(p.appPath(),
                                      QFile::permissions(p.appPath()) | QFileDevice::ExeOther));
        QVERIFY(::seteuid(65534) == 0);
    } else if (anotherUser) {
        QVERIFY(QFile::setPermissions(db, {}));
    }

    StartupResult r = Main(*p.state, p.appPath());
    if (anotherUser && ::getuid() == 0)
        QVERIFY(::seteuid(0) == 0);
    // Only a missing or empty database waits, for the copy from the backup.
    QCOMPARE(p.waiter.waits, dbSize == 0 || dbSize == Missing ? QList<int>{2} : QList<int>{});
    QCOMPARE(p.messages.shown.size(), says.isEmpty() ? 0 : 1);
    QVERIFY2(p.messages.texts().value(0).contains(says), qPrintable(p.messages.texts().value(0)));
    QVERIFY(!QFile::exists(db + QStringLiteral("-journal")));
    if (!says.isEmpty() && says != Kept) {
        QCOMPARE(r.verdict, StartupResult::End);
        QVERIFY(!r.mainWindow);
        QVERIFY(p.messages.texts().first().startsWith(db + QStringLiteral("\r\n")));
        // Music stopped, then the sound; nothing written, nothing deleted.
        QCOMPARE(p.sound.calls.mid(p.sound.calls.size() - 2),
                 (QStringList{"stop music", "stop wave"}));
        QCOMPARE(size(db), sizeBefore);
        QCOMPARE(QDir(p.file(QStringLiteral("Progs"))).entryList({QStringLiteral("*damaged*")}),
                 QStringList());
        return;
    }
    QCOMPARE(r.verdict, StartupResult::RunEventLoop);
    QVERIFY(p.state->db().isOpen());
    QCOMPARE(QStringList(p.state->MusicFiles).replaceInStrings(p.file(u"Sounds/Midi/"_s), u""_s),
             music);
    QCOMPARE(column(db, QStringLiteral("PRAGMA integrity_check")), QStringList{"ok"});
    QVERIFY(!QFile::permissions(db).testFlag(QFileDevice::ReadOther));
    // A damaged file is never deleted: it stays beside, under a dated name, its journal with it.
    const QString kept = db + QStringLiteral(".damaged-20260314-092653");
    QCOMPARE(size(kept), journal || says == Kept ? sizeBefore : Missing);
    QCOMPARE(size(kept + QStringLiteral("-journal")), journal ? 1024 : Missing);
    if (says == Kept)
        QVERIFY(p.messages.texts().first().contains(kept + u".\r\nThe backup copy was restored"_s));
}

// A damaged database replaces nothing. Then eleven exits: the ten newest dated
// copies remain, the newest as the backup copy, each its owner's alone.
void TestStartup::backups()
{
    TestProgram p;
    QString error;
    p.copyEmptyDatabaseTo(QStringLiteral("Backup/KolvaneBackup.db"));
    const QByteArray good = fileBytes(p.state->backupFile());
    p.writeFile(QStringLiteral("Progs/Kolvane.db"), QByteArray(8192, 'x'));
    QVERIFY(!Backups::write(*p.state, &error));
    QVERIFY2(error.contains(QStringLiteral("failed its check")), qPrintable(error));
    QCOMPARE(fileBytes(p.state->backupFile()), good);
    p.copyEmptyDatabaseTo(QStringLiteral("Progs/Kolvane.db"));
    const QString insert = u"INSERT INTO Student (Number) VALUES ('E-%1')"_s;
    for (int exit = 1; exit <= 11; ++exit) {
        QVERIFY(column(p.state->databaseFile(), insert.arg(exit)).isEmpty());
        p.clock.current = p.clock.current.addSecs(3600);
        QVERIFY2(Backups::write(*p.state, &error), qPrintable(error));
    }
    const QStringList dated = QDir(p.file(u"Backup"_s)).entryList({u"KolvaneBackup-*"_s});
    QCOMPARE(dated.size(), 10);
    QCOMPARE(dated.last(), QFileInfo(Backups::datedFile(*p.state, p.clock.current)).fileName());
    const QString count = QStringLiteral("SELECT count(*) FROM Student");
    for (const QString &copy : {p.file(u"Backup/"_s + dated.last()), p.state->backupFile()}) {
        QCOMPARE(column(copy, count), QStringList{"11"});
        QVERIFY(!(QFile::permissions(copy) & (QFileDevice::ReadGroup | QFileDevice::ReadOther)));
    }
    QCOMPARE(column(p.file(QStringLiteral("Backup/") + dated.first()), count), QStringList{"2"});
    QCOMPARE(QDir(p.file(QStringLiteral("Backup"))).entryList(QDir::Files).size(), 11);
}

QTEST_MAIN(TestStartup)
#include "tst_startup.moc"
