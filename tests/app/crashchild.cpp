// Stands in for the program in the crash tests: works on a program folder in a
// loop and reports each step once it is committed, until it is killed.
#include "app/SingleInstance.h"
#include "classes/ClassStructure.h"
#include "platform/Database.h"
#include "platform/Recordset.h"

#include <QCoreApplication>
#include <QSqlQuery>

#include <unistd.h>

namespace {

// Straight to the pipe, so nothing reported is held back in a buffer.
void report(const QString &line)
{
    const QByteArray bytes = line.toUtf8() + '\n';
    if (::write(STDOUT_FILENO, bytes.constData(), size_t(bytes.size())) != bytes.size())
        ::_exit(4);
}

// The two structures the wizard mode writes in turn: every level two or three
// arms, the names telling which structure they belong to.
ClassStructure structure(int which)
{
    ClassStructure s;
    FillClassLevelNames(s);
    for (int i = 0; i < ClassStructure::LevelCount; ++i) {
        s.NumberOfArms[i] = qint16(2 + which);
        for (int arm = 1; arm <= 2 + which; ++arm)
            s.ClassArms[i].append(QStringLiteral("%1 %2").arg(which ? "New" : "Old").arg(arm));
    }
    return s;
}

bool exec(QSqlQuery &q, const QString &sql, const QVariantList &values = {})
{
    if (!q.prepare(sql))
        return false;
    for (const QVariant &v : values)
        q.addBindValue(v);
    return q.exec();
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    if (argc < 3)
        return 1;
    const QString mode = QString::fromLocal8Bit(argv[1]);
    const QString appPath = QString::fromLocal8Bit(argv[2]);
    SingleInstance instance(appPath + QStringLiteral("Progs"));
    if (!instance.acquire())
        return 2;

    if (mode == QLatin1String("wizard")) {
        const ClassStructure both[2] = {structure(0), structure(1)};
        for (int i = 1;; ++i)
            if (SaveClassStructure(both[i % 2], appPath + QStringLiteral("Progs/Kolvane.ini")))
                report(QString::number(i % 2));
    }

    QSqlDatabase db = Database::open(appPath + QLatin1String(Database::FileName));
    QSqlQuery q(db);
    if (mode == QLatin1String("store")) {
        Recordset rs;
        if (!rs.open(db, QStringLiteral("Student")))
            return 3;
        for (int i = 0;; ++i) {
            const QString number = QStringLiteral("C%1-%2").arg(QCoreApplication::applicationPid()).arg(i);
            if (!rs.addNew() || !rs.setValue(QStringLiteral("Number"), number) || !rs.update())
                return 3;
            report(number);
        }
    }
    if (mode == QLatin1String("transfer")) {
        // As Send to Alumni does: the copy and the removal in one transaction.
        for (;;) {
            if (!exec(q, QStringLiteral("SELECT Number FROM Student ORDER BY random() LIMIT 1")) || !q.next())
                return 3;
            const QString number = q.value(0).toString();
            q.finish();
            if (!db.transaction()
                || !exec(q, QStringLiteral("INSERT INTO FormerStudent SELECT * FROM Student WHERE Number = ?"),
                         {number})
                || !exec(q, QStringLiteral("DELETE FROM Student WHERE Number = ?"), {number}) || !db.commit())
                return 3;
            report(number);
        }
    }
    if (mode == QLatin1String("hold")) {
        // A transaction too big for the cache: its pages reach the file
        // before the commit, and the journal holds what they replaced.
        QObject::connect(&instance, &SingleInstance::wakeRequested, [] { report(QStringLiteral("woken")); });
        if (!exec(q, QStringLiteral("PRAGMA cache_size = 4")) || !db.transaction())
            return 3;
        for (int i = 0; i < 2000; ++i)
            if (!exec(q, QStringLiteral("INSERT INTO Student (Number, Surname) VALUES (?, ?)"),
                      {QStringLiteral("H-%1").arg(i), QString(200, u'h')}))
                return 3;
        report(QStringLiteral("held"));
        return QCoreApplication::exec();
    }
    return 1;
}
