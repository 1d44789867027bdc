#include "TestProgram.h"
#include "app/KolvaneMain.h"
#include "app/SingleInstance.h"
#include "app/Startup.h"
#include "platform/Database.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QSqlQuery>
#include <QTest>
#include <QThread>

#include <csignal>

namespace {

struct Child
{
    QProcess process;

    explicit Child(const QString &mode, const QString &appPath)
    {
        process.start(QStringLiteral(KOLVANE_CRASHCHILD), {mode, appPath});
    }
    ~Child() { kill(); }
    QString nextLine()
    {
        while (!process.canReadLine())
            if (!process.waitForReadyRead(5000))
                return QString();
        return QString::fromUtf8(process.readLine()).trimmed();
    }
    void kill()
    {
        if (process.state() == QProcess::NotRunning)
            return;
        ::kill(pid_t(process.processId()), SIGKILL);
        process.waitForFinished(5000);
    }
};

// Start-up over the folder as the next run of the program would do it; the
// window goes again at once, the folder with it.
struct Started
{
    StartupResult result;
    explicit Started(TestProgram &p) : result(Main(*p.state, p.appPath())) {}
    ~Started()
    {
        if (result.mainWindow)
            result.mainWindow->abandon();
        result.mainWindow.reset();
        Database::close();
    }
};

QStringList damagedFiles(const TestProgram &p)
{
    return QDir(p.file(QStringLiteral("Progs"))).entryList({QStringLiteral("*damaged*")});
}

QString signature(const QString &ini)
{
    ClassStructure s;
    FillClassLevelNames(s);
    LoadClassStructure(s, ini);
    QStringList all;
    for (const QStringList &arms : s.ClassArms)
        all.append(arms.join(u','));
    return all.join(u';');
}

// A structure the child writes: every level with `arms` arms named word 1, word 2...
QString whole(const char *word, int arms)
{
    QStringList levels;
    for (int i = 0; i < ClassStructure::LevelCount; ++i) {
        QStringList names;
        for (int arm = 1; arm <= arms; ++arm)
            names.append(QStringLiteral("%1 %2").arg(QLatin1String(word)).arg(arm));
        levels.append(names.join(u','));
    }
    return levels.join(u';');
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
    QTest::newRow("storing new rows") << "store";
    QTest::newRow("sending rows to the former table") << "transfer";
    QTest::newRow("writing the class structure") << "wizard";
}

// Whenever the program dies, the next start finds every committed row, a
// sound file and no damage; the class structure is wholly old or wholly new.
void TestCrash::killedAtRandom()
{
    QFETCH(QString, mode);
    TestProgram p;
    p.writeTypicalIni();
    const QString db = p.file(QLatin1String(Database::FileName));
    const int seeded = 3000;
    if (mode == QLatin1String("transfer")) {
        QStringList numbers;
        for (int i = 0; i < seeded; ++i)
            numbers.append(QStringLiteral("('T-%1')").arg(i));
        QVERIFY(column(db, QStringLiteral("INSERT INTO Student (Number) VALUES ") + numbers.join(u',')).isEmpty());
    }
    QStringList committed;
    const QString ini = p.file(QStringLiteral("Progs/Kolvane.ini"));
    for (int kill = 0; kill < 20; ++kill) {
        {
            Child child(mode, p.appPath());
            QString line = child.nextLine();
            QVERIFY2(!line.isEmpty(), qPrintable(child.process.readAllStandardError()));
            QThread::msleep(QRandomGenerator::global()->bounded(40));
            child.kill();
            for (; !line.isEmpty(); line = QString::fromUtf8(child.process.readLine()).trimmed())
                committed.append(line);
        }
        Started s(p);
        QCOMPARE(s.result.verdict, StartupResult::RunEventLoop);
        QCOMPARE(p.messages.texts(), QStringList());
        QCOMPARE(damagedFiles(p), QStringList());
        QCOMPARE(QDir(p.file(QStringLiteral("Progs"))).entryList({QStringLiteral("*.tmp-*")}), QStringList());
        QCOMPARE(column(db, QStringLiteral("PRAGMA integrity_check")), QStringList{"ok"});
        if (mode == QLatin1String("wizard")) {
            const QString now = signature(ini);
            QVERIFY2(now == whole("Old", 2) || now == whole("New", 3), qPrintable(now));
            continue;
        }
        const QString table = mode == QLatin1String("store") ? QStringLiteral("Student") : QStringLiteral("FormerStudent");
        const QStringList there = column(db, QStringLiteral("SELECT Number FROM ") + table);
        for (const QString &number : std::as_const(committed))
            QVERIFY2(there.contains(number), qPrintable(number));
        if (mode == QLatin1String("transfer")) {
            QCOMPARE(column(db, QStringLiteral("SELECT count(*) FROM Student JOIN FormerStudent USING (Number)")),
                     QStringList{"0"});
            QCOMPARE(column(db, QStringLiteral("SELECT count(*) FROM (SELECT Number FROM Student UNION "
                                               "SELECT Number FROM FormerStudent)")),
                     QStringList{QString::number(seeded)});
        }
    }
    QVERIFY(!committed.isEmpty());
}

// While a program runs, a second start says so and leaves the database alone,
// the journal of its open transaction too; once it is killed, the next start
// takes over its lock, rolls the transaction back and says nothing.
void TestCrash::liveHolderThenItsJournal()
{
    TestProgram p;
    p.writeTypicalIni();
    const QString db = p.file(QLatin1String(Database::FileName));
    QVERIFY(column(db, QStringLiteral("INSERT INTO Student (Number) VALUES ('K-1'), ('K-2')")).isEmpty());
    Child holder(QStringLiteral("hold"), p.appPath());
    QCOMPARE(holder.nextLine(), QStringLiteral("held"));
    const auto bytes = [](const QString &f) {
        QFile file(f);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QByteArray before = bytes(db), journal = bytes(db + QStringLiteral("-journal"));
    QVERIFY(!journal.isEmpty());
    {
        Started second(p);
        QCOMPARE(second.result.verdict, StartupResult::End);
        QCOMPARE(second.result.exitCode, int(StartupResult::AlreadyRunning));
        QCOMPARE(p.messages.texts(), QStringList{"Kolvane is already running."});
        QVERIFY(!second.result.mainWindow);
    }
    QCOMPARE(holder.nextLine(), QStringLiteral("woken"));
    QCOMPARE(bytes(db), before);
    QCOMPARE(bytes(db + QStringLiteral("-journal")), journal);

    holder.kill();
    p.messages.clear();
    Started next(p);
    QCOMPARE(next.result.verdict, StartupResult::RunEventLoop);
    QCOMPARE(p.messages.texts(), QStringList());
    QCOMPARE(damagedFiles(p), QStringList());
    QVERIFY(!QFile::exists(db + QStringLiteral("-journal")));
    QCOMPARE(column(db, QStringLiteral("SELECT Number FROM Student ORDER BY Number")), (QStringList{"K-1", "K-2"}));
    QCOMPARE(column(db, QStringLiteral("PRAGMA integrity_check")), QStringList{"ok"});
}

QTEST_MAIN(TestCrash)
#include "tst_crash.moc"
