#include "TestProgram.h"
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
#include <QTest>
#include <QThread>

#include <csignal>
#include <unistd.h>

namespace {

// Straight to the pipe: nothing reported waits in a buffer.
void report(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    if (::write(STDOUT_FILENO, bytes.constData(), size_t(bytes.size())) != bytes.size())
        ::_exit(4);
}

bool exec(QSqlQuery &q, const QString &sql, const QVariantList &values = {})
{
    q.prepare(sql);
    for (const QVariant &v : values)
        q.addBindValue(v);
    return q.exec();
}

// The child: stands in for the program, working on a program folder in a loop
// and reporting each step once it is committed, until it is killed.
int child(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QString mode = QString::fromLocal8Bit(argv[2]), appPath = QString::fromLocal8Bit(argv[3]);
    SingleInstance instance(appPath + QStringLiteral("Progs"));
    if (!instance.acquire())
        return 2;
    QSqlDatabase db = Database::open(appPath + QLatin1String(Database::FileName));
    QSqlQuery q(db);
    Recordset rs;
    rs.open(db, QStringLiteral("Student"));
    for (int i = 1;; ++i) {
        QString done = QStringLiteral("C%1-%2").arg(QCoreApplication::applicationPid()).arg(i);
        bool ok = true;
        if (mode == QLatin1String("wizard")) { // every level i % 2 + 2 arms, all named after i % 2
            ClassStructure s;
            FillClassLevelNames(s);
            done = QString::number(i % 2);
            s.NumberOfArms.fill(qint16(i % 2 + 2));
            s.ClassArms.fill(QStringList(i % 2 + 2, done));
            ok = SaveClassStructure(s, appPath + QStringLiteral("Progs/Kolvane.ini"));
        } else if (mode == QLatin1String("store")) {
            ok = rs.addNew() && rs.setValue(QStringLiteral("Number"), done) && rs.update();
        } else if (mode == QLatin1String("transfer")) {
            // As Send to Alumni does it: the copy and the removal in one transaction.
            ok = exec(q, QStringLiteral("SELECT Number FROM Student ORDER BY random() LIMIT 1")) &&
                 q.next();
            done = ok ? q.value(0).toString() : QString();
            q.finish();
            ok = ok && db.transaction() &&
                 exec(q,
                      QStringLiteral(
                          "INSERT INTO FormerStudent SELECT * FROM Student WHERE Number = ?"),
                      {done}) &&
                 exec(q, QStringLiteral("DELETE FROM Student WHERE Number = ?"), {done}) &&
                 db.commit();
        } else { // hold: a transaction too big for the cache, its pages already in the file
            QObject::connect(&instance, &SingleInstance::wakeRequested,
                             [] { report(QStringLiteral("woken")); });
            ok = exec(q, QStringLiteral("PRAGMA cache_size = 4")) && db.transaction();
            for (int row = 0; ok && row < 2000; ++row)
                ok = exec(q, QStringLiteral("INSERT INTO Student (Number, Surname) VALUES (?, ?)"),
                          {QStringLiteral("H-%1").arg(row), QString(200, u'h')});
            report(QStringLiteral("held"));
            return ok ? QCoreApplication::exec() : 3;
        }
        if (!ok)
            return 3;
        report(done);
    }
}

struct Child : QProcess
{
    Child(const QString &mode, const QString &appPath)
    {
        start(QCoreApplication::applicationFilePath(), {QStringLiteral("child"), mode, appPath});
    }
    ~Child() override { kill(); }
    QString nextLine()
    {
        while (!canReadLine() && waitForReadyRead(5000)) {
        }
        return QString::fromUtf8(readLine()).trimmed();
    }
    void kill()
    {
        if (state() != NotRunning && ::kill(pid_t(processId()), SIGKILL) == 0)
            waitForFinished(5000);
    }
};

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
    QCOMPARE(QDir(p.file(QStringLiteral("Progs"))).entryList({"*damaged*", "*.tmp-*"}),
             QStringList());
    QCOMPARE(column(p.state->databaseFile(), QStringLiteral("PRAGMA integrity_check")),
             QStringList{"ok"});
}

} // namespace

class TestCrash : public QObject
{
    Q_OBJECT
private slots:
    void killedAtRandom_data();
    void killedAtRandom();
    void liveHolderThenItsJournal();
};

void TestCrash::killedAtRandom_data()
{
    QTest::addColumn<QString>("mode");
    QTest::addColumn<QString>("table"); // where every reported row must be
    QTest::newRow("storing new rows") << "store"
                                      << "Student";
    QTest::newRow("sending rows to the former table") << "transfer"
                                                      << "FormerStudent";
    QTest::newRow("writing the class structure") << "wizard"
                                                 << "";
}

// Whenever the program dies, the next start keeps every committed row; the
// class structure is wholly one or wholly the other.
void TestCrash::killedAtRandom()
{
    QFETCH(QString, mode);
    QFETCH(QString, table);
    TestProgram p;
    p.writeTypicalIni();
    const QString db = p.state->databaseFile();
    QCOMPARE(column(db, QStringLiteral("WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n "
                                       "WHERE i < 3000) INSERT INTO Student (Number) SELECT 'T-' || i FROM n")),
             QStringList());
    QStringList committed;
    for (int kill = 0; kill < 20; ++kill) {
        {
            Child child(mode, p.appPath());
            QString line = child.nextLine();
            QVERIFY2(!line.isEmpty(), child.readAllStandardError().constData());
            QThread::msleep(QRandomGenerator::global()->bounded(40));
            child.kill();
            for (; !line.isEmpty(); line = QString::fromUtf8(child.readLine()).trimmed())
                committed.append(line);
        }
        checkStartedSilently(p);
        if (table.isEmpty()) { // every level two arms named "0", or every level three named "1"
            const auto &arms = p.state->classes.ClassArms;
            QVERIFY2(arms[0] == QStringList(2, "0") || arms[0] == QStringList(3, "1"),
                     qPrintable(arms[0].join(u',')));
            QCOMPARE(std::count(arms.begin(), arms.end(), arms[0]), 19);
            continue;
        }
        const QStringList there = column(db, QStringLiteral("SELECT Number FROM ") + table);
        for (const QString &number : std::as_const(committed))
            QVERIFY2(there.contains(number), qPrintable(number));
        // Never in both tables, never in neither.
        QCOMPARE(column(db, QStringLiteral(
                                "SELECT count(*) FROM Student JOIN FormerStudent USING (Number)")),
                 QStringList{"0"});
        QCOMPARE(
            column(db, QStringLiteral("SELECT count(*) FROM (SELECT Number FROM Student UNION "
                                      "SELECT Number FROM FormerStudent) WHERE Number LIKE 'T-%'")),
            QStringList{"3000"});
    }
}

// While a program runs, a second start says so and leaves the database and the
// journal of its open transaction alone; once it is killed, the next start
// takes over its lock, rolls the transaction back and says nothing.
void TestCrash::liveHolderThenItsJournal()
{
    TestProgram p;
    p.writeTypicalIni();
    const QString db = p.state->databaseFile();
    QCOMPARE(column(db, QStringLiteral("INSERT INTO Student (Number) VALUES ('K-1'), ('K-2')")),
             QStringList());
    Child holder(QStringLiteral("hold"), p.appPath());
    QCOMPARE(holder.nextLine(), QStringLiteral("held"));
    const auto bytes = [&db] {
        QFile file(db), journal(db + QStringLiteral("-journal"));
        return file.open(QIODevice::ReadOnly) && journal.open(QIODevice::ReadOnly)
                   ? file.readAll() + journal.readAll()
                   : QByteArray();
    };
    const QByteArray before = bytes();
    QVERIFY(!before.isEmpty());
    const StartupResult second = Main(*p.state, p.appPath());
    QCOMPARE(second.verdict, StartupResult::End);
    QCOMPARE(second.exitCode, int(StartupResult::AlreadyRunning));
    QCOMPARE(p.messages.texts(), QStringList{"Kolvane is already running."});
    QCOMPARE(holder.nextLine(), QStringLiteral("woken"));
    QCOMPARE(bytes(), before);

    holder.kill();
    p.messages.clear();
    checkStartedSilently(p);
    QVERIFY(!QFile::exists(db + QStringLiteral("-journal")));
    QCOMPARE(column(db, QStringLiteral("SELECT Number FROM Student ORDER BY Number")),
             (QStringList{"K-1", "K-2"}));
}

int main(int argc, char *argv[])
{
    if (argc == 4 && qstrcmp(argv[1], "child") == 0)
        return child(argc, argv);
    QApplication app(argc, argv);
    TestCrash test;
    return QTest::qExec(&test, argc, argv);
}
#include "tst_crash.moc"
