#include "TestProgram.h"
#include "Widgets.h"
#include "app/KolvaneMain.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "platform/Database.h"
#include "platform/Recordset.h"

#include <QApplication>
#include <QDir>
#include <QProcess>
#include <QRandomGenerator>
#include <QScopeGuard>
#include <QSqlQuery>
#include <QThread>

#include <cstdio>

namespace {

const QString Rows =
    "WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < %1) ";

// Straight to the pipe: nothing reported waits in a buffer.
void report(const QString &line)
{
    std::fputs(qPrintable(line + u'\n'), stdout);
    std::fflush(stdout);
}

// The child stands in for the program on a program folder. With "hold" it keeps a
// transaction too big for the cache open, its pages already in the file. Else it
// works in a loop, reporting each step once it is committed, until it is killed.
int child(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString appPath = QString::fromLocal8Bit(argv[2]);
    SingleInstance instance(appPath + "Progs");
    if (!instance.acquire())
        return 2;
    QSqlDatabase db = Database::open(appPath + QLatin1String(Database::FileName));
    QSqlQuery q(db);
    if (argc == 4) {
        QObject::connect(&instance, &SingleInstance::wakeRequested, [] { report("woken"); });
        if (!q.exec("PRAGMA cache_size = 4") || !db.transaction() ||
            !q.exec(Rows.arg(2000) + "INSERT INTO Student (Number, Surname) "
                                     "SELECT 'H-' || i, hex(zeroblob(100)) FROM n"))
            return 3;
        report("held");
        return QCoreApplication::exec();
    }
    Recordset rs;
    rs.open(db, "Student");
    ClassStructure s;
    FillClassLevelNames(s);
    for (int i = 1;; ++i) {
        // Every level i % 2 + 2 arms, all named after i % 2.
        s.NumberOfArms.fill(qint16(i % 2 + 2));
        s.ClassArms.fill(QStringList(i % 2 + 2, QString::number(i % 2)));
        if (!SaveClassStructure(s, appPath + "Progs/Kolvane.ini"))
            return 3;
        report("classes");
        const QString stored =
            QStringLiteral("C%1-%2").arg(QCoreApplication::applicationPid()).arg(i);
        if (!rs.addNew() || !rs.setValue("Number", stored) || !rs.update())
            return 3;
        report("stored " + stored);
        // As Send to Alumni does it: the copy and the removal in one transaction.
        if (!q.exec("SELECT Number FROM Student ORDER BY random() LIMIT 1") || !q.next())
            return 3;
        const QString sent = q.value(0).toString();
        q.finish();
        if (!db.transaction() ||
            !q.exec(QStringLiteral(
                        "INSERT INTO FormerStudent SELECT * FROM Student WHERE Number = '%1'")
                        .arg(sent)) ||
            !q.exec(QStringLiteral("DELETE FROM Student WHERE Number = '%1'").arg(sent)) ||
            !db.commit())
            return 3;
        report("sent " + sent);
    }
}

QString nextLine(QProcess &child)
{
    while (!child.canReadLine() && child.waitForReadyRead(5000)) {
    }
    return QString::fromUtf8(child.readLine()).trimmed();
}

// What the next start over the folder must find: a sound file, nothing damaged
// or half made, nothing to say. The window goes again at once.
void checkStartedSilently(TestProgram &p)
{
    StartupResult r = Main(*p.state, p.appPath());
    const auto close = qScopeGuard([&r] {
        if (r.mainWindow)
            r.mainWindow->abandon();
        r.mainWindow.reset();
        Database::close();
    });
    QCOMPARE(r.verdict, StartupResult::RunEventLoop);
    QCOMPARE(p.messages.texts(), QStringList());
    QCOMPARE(QDir(p.file("Progs")).entryList({"*damaged*", "*.tmp-*"}), QStringList());
    QCOMPARE(column(p.state->databaseFile(), "PRAGMA integrity_check"), QStringList{"ok"});
}

} // namespace

class TestCrash : public QObject
{
    Q_OBJECT
private slots:
    void killedThenStartedAgain();
};

void TestCrash::killedThenStartedAgain()
{
    TestProgram p;
    p.writeTypicalIni();
    const QString db = p.state->databaseFile();
    QCOMPARE(column(db, Rows.arg(3000) + "INSERT INTO Student (Number) SELECT 'T-' || i FROM n"),
             QStringList());
    const QStringList childProgram = {"child", p.appPath()};

    // While a program runs, a second start says so, wakes it and leaves the database
    // and the journal of its open transaction alone; once it is killed, the next
    // start takes over its lock, rolls the transaction back and says nothing.
    QProcess holder;
    holder.start(QCoreApplication::applicationFilePath(), childProgram + QStringList{"hold"});
    QCOMPARE(nextLine(holder), QStringLiteral("held"));
    const auto bytes = [&db] { return fileBytes(db) + fileBytes(db + "-journal"); };
    const QByteArray before = bytes();
    QVERIFY(fileBytes(db + "-journal").size() > 0);
    const StartupResult second = Main(*p.state, p.appPath());
    QCOMPARE(second.verdict, StartupResult::End);
    QCOMPARE(second.exitCode, int(StartupResult::AlreadyRunning));
    QCOMPARE(p.messages.texts(), QStringList{"Kolvane is already running."});
    QCOMPARE(nextLine(holder), QStringLiteral("woken"));
    QCOMPARE(bytes(), before);
    holder.kill();
    QVERIFY(holder.waitForFinished(5000));
    p.messages.clear();
    checkStartedSilently(p);
    QVERIFY(!QFile::exists(db + "-journal"));
    QCOMPARE(column(db, "SELECT count(*) FROM Student"), QStringList{"3000"});

    // Whenever the program dies, the next start keeps every committed row in the
    // table it was committed to; the class structure is wholly one or the other.
    QStringList committed;
    for (int kill = 0; kill < 60; ++kill) {
        QProcess child;
        child.start(QCoreApplication::applicationFilePath(), childProgram);
        QString line = nextLine(child);
        QVERIFY2(!line.isEmpty(), child.readAllStandardError().constData());
        QThread::msleep(QRandomGenerator::global()->bounded(40));
        child.kill(); // SIGKILL
        QVERIFY(child.waitForFinished(5000));
        for (; !line.isEmpty(); line = QString::fromUtf8(child.readLine()).trimmed())
            committed.append(line);
        checkStartedSilently(p);
        const auto &arms = p.state->classes.ClassArms;
        QVERIFY2(arms[0] == QStringList(2, "0") || arms[0] == QStringList(3, "1"),
                 qPrintable(arms[0].join(u',')));
        QCOMPARE(std::count(arms.begin(), arms.end(), arms[0]), 19);
        const QStringList students = column(db, "SELECT Number FROM Student");
        const QStringList former = column(db, "SELECT Number FROM FormerStudent");
        for (const QString &line : std::as_const(committed)) {
            const QString number = line.section(u' ', 1);
            if (line.startsWith("stored "))
                QVERIFY2(students.contains(number) || former.contains(number), qPrintable(line));
            else if (line.startsWith("sent "))
                QVERIFY2(former.contains(number), qPrintable(line));
        }
        // Never in both tables, never in neither.
        QCOMPARE(column(db, "SELECT count(*) FROM Student JOIN FormerStudent USING (Number)"),
                 QStringList{"0"});
        QCOMPARE(column(db, "SELECT count(*) FROM (SELECT Number FROM Student UNION "
                            "SELECT Number FROM FormerStudent) WHERE Number LIKE 'T-%'"),
                 QStringList{"3000"});
    }
}

int main(int argc, char *argv[])
{
    if (argc >= 3 && qstrcmp(argv[1], "child") == 0)
        return child(argc, argv);
    QApplication app(argc, argv);
    TestCrash test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_crash.moc"
