// bench_recordset FOLDER
// Opens the record form's cursor on the Student table of a program folder
// (filled by kolvane_makeschool) and prints how long opening, stepping and
// finding a number take, and how much memory the process holds.
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

namespace {

// Resident and peak resident size of this process, in MB.
double statusMegabytes(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray wanted(key);
    for (const QByteArray &line : status.readAll().split('\n')) {
        if (line.startsWith(wanted)) {
            const QList<QByteArray> parts = line.mid(wanted.size()).simplified().split(' ');
            return parts.value(0).toDouble() / 1024.0;
        }
    }
    return -1;
}

struct Figures
{
    std::vector<double> ms;
    void add(qint64 ns) { ms.push_back(double(ns) / 1e6); }
    double mean() const
    {
        double sum = 0;
        for (double v : ms)
            sum += v;
        return ms.empty() ? 0 : sum / double(ms.size());
    }
    double worst() const { return ms.empty() ? 0 : *std::max_element(ms.begin(), ms.end()); }
    // The share-th fraction of the sorted times (0.5 median, 0.99 nearly all).
    double quantile(double share) const
    {
        if (ms.empty())
            return 0;
        std::vector<double> sorted = ms;
        std::sort(sorted.begin(), sorted.end());
        return sorted[static_cast<size_t>(share * double(sorted.size() - 1))];
    }
    QByteArray line() const
    {
        return QString::asprintf("mean %.3f ms, median %.3f ms, 99%% under %.3f ms, "
                                 "worst %.3f ms",
                                 mean(), quantile(0.5), quantile(0.99), worst())
            .toUtf8();
    }
};

} // namespace

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

    // Find Number from the first row, for numbers spread over the table.
    Figures find;
    int found = 0;
    QRandomGenerator random(7);
    for (int i = 0; i < 1000; ++i) {
        const QString number = SyntheticSchool::studentNumber(int(random.bounded(rows)));
        timer.restart();
        rs.moveFirst();
        if (rs.find(QStringLiteral("Number"), number))
            ++found;
        find.add(timer.nsecsElapsed());
    }
    Figures miss;
    for (int i = 0; i < 100; ++i) {
        timer.restart();
        rs.moveFirst();
        rs.find(QStringLiteral("Number"), QStringLiteral("no such number"));
        miss.add(timer.nsecsElapsed());
    }

    std::printf("database            %s\n", qPrintable(file));
    std::printf("rows in Student     %d\n", rows);
    std::printf("connect             %.1f ms\n", connectMs);
    std::printf("open + last row     %.1f ms\n", openMs);
    std::printf("Next                %s (%zu steps)\n", next.line().constData(), next.ms.size());
    std::printf("Find Number         %s (%d of %zu found)\n", find.line().constData(), found,
                find.ms.size());
    std::printf("Find, not found     %s\n", miss.line().constData());
    std::printf("memory              %.1f MB at start, %.1f MB now, %.1f MB peak\n", rssAtStart,
                statusMegabytes("VmRSS:"), statusMegabytes("VmHWM:"));
    std::printf("(%lld characters read)\n", static_cast<long long>(touched));
    rs.close();
    db = QSqlDatabase();
    Database::close();
    return 0;
}
