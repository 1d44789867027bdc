// bench_recordset FOLDER
// Opens the record form's cursor on the Student table of a program folder
// (filled by kolvane_makeschool) and prints how long opening, stepping and
// finding a number take, and how much memory the process holds.
#include "BenchSupport.h"
#include "SyntheticSchool.h"

#include "platform/Database.h"
#include "platform/Recordset.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QRandomGenerator>
#include <algorithm>
#include <cstdio>
#include <vector>

using Bench::Figures;
using Bench::statusMegabytes;

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    if (app.arguments().size() != 2) {
        std::fprintf(stderr, "usage: bench_recordset FOLDER\n");
        return 2;
    }
    const QString file =
        QDir(app.arguments().at(1)).filePath(QString::fromLatin1(Database::FileName));
    if (!QFile::exists(file)) {
        std::fprintf(stderr, "bench_recordset: no database at %s\n", qPrintable(file));
        return 1;
    }
    const double rssAtStart = statusMegabytes("VmRSS:");

    QElapsedTimer timer;
    timer.start();
    QSqlDatabase db = Database::open(file);
    const double connectMs = double(timer.nsecsElapsed()) / 1e6;

    Recordset rs;
    timer.restart();
    // As the record form opens: the whole keyset, then the last row.
    if (!rs.open(db, QStringLiteral("Student"))) {
        std::fprintf(stderr, "bench_recordset: %s\n", qPrintable(rs.lastError()));
        return 1;
    }
    rs.moveLast();
    const double openMs = double(timer.nsecsElapsed()) / 1e6;
    const int rows = rs.recordCount();
    if (rows < 2) {
        std::fprintf(stderr, "bench_recordset: the Student table needs rows\n");
        return 1;
    }

    // Next, as the form's button does it, reading every field of the row.
    Figures next;
    rs.moveFirst();
    qsizetype touched = 0;
    const QStringList columns = rs.columnNames();
    for (int i = 0; i < std::min(rows - 1, 5000); ++i) {
        timer.restart();
        rs.moveNext();
        if (rs.eof())
            rs.moveLast();
        for (const QString &c : columns)
            touched += rs.value(c).toString().size();
        next.add(timer.nsecsElapsed());
    }

    // Find Number from wherever the cursor stands, as the form's button does.
    Figures find;
    int found = 0;
    QRandomGenerator random(7);
    QStringList wanted;
    for (int i = 0; i < 1000; ++i)
        wanted << SyntheticSchool::studentNumber(int(random.bounded(rows)));
    for (const QString &number : std::as_const(wanted)) {
        timer.restart();
        if (rs.find(QStringLiteral("Number"), number))
            ++found;
        find.add(timer.nsecsElapsed());
    }
    Figures miss;
    for (int i = 0; i < 100; ++i) {
        timer.restart();
        rs.find(QStringLiteral("Number"), QStringLiteral("no such number"));
        miss.add(timer.nsecsElapsed());
    }

    // The anchors: the same keyset statement, and the same thousand lookups by
    // number reading whole rows, in the sqlite3 shell.
    const double keysetAnchor = Bench::sqliteBest(file, QStringLiteral("SELECT rowid FROM \"Student\";"));
    QStringList values;
    for (const QString &number : std::as_const(wanted))
        values << QStringLiteral("('%1')").arg(number);
    const double lookupsAnchor = Bench::sqliteBest(
        file, QStringLiteral("WITH n(x) AS (VALUES %1) SELECT s.* FROM n JOIN Student s ON s.Number = n.x;")
                  .arg(values.join(u',')));
    double findTotal = 0;
    for (double v : find.ms)
        findTotal += v;

    std::printf("database            %s\n", qPrintable(file));
    std::printf("rows in Student     %d\n", rows);
    std::printf("connect             %.1f ms\n", connectMs);
    std::printf("open + last row     %.1f ms; keyset in %s\n", openMs,
                Bench::anchored(openMs, keysetAnchor).constData());
    std::printf("Next                %s (%zu steps)\n", next.line().constData(), next.ms.size());
    std::printf("Find Number         %s (%d of %zu found)\n", find.line().constData(), found,
                find.ms.size());
    std::printf("Find, not found     %s\n", miss.line().constData());
    std::printf("1,000 finds         %.1f ms; the same lookups in %s\n", findTotal,
                Bench::anchored(findTotal, lookupsAnchor).constData());
    std::printf("memory              %.1f MB at start, %.1f MB now, %.1f MB peak\n", rssAtStart,
                statusMegabytes("VmRSS:"), statusMegabytes("VmHWM:"));
    std::printf("(%lld characters read)\n", static_cast<long long>(touched));
    rs.close();
    db = QSqlDatabase();
    Database::close();
    return 0;
}
