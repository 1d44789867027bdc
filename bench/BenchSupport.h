#pragma once

// What every benchmark prints: times with their spread, the process's memory,
// and the anchor, the sqlite3 shell's own time for the same statement on the
// same file, with the ratio beside it.
#include <QByteArray>
#include <QFile>
#include <QProcess>
#include <QRegularExpression>
#include <QString>
#include <QStringList>
#include <algorithm>
#include <vector>

namespace Bench {

// A line of /proc/self/status ("VmRSS:", "VmHWM:") in MB.
inline double statusMegabytes(const char *key)
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray wanted(key);
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith(wanted))
            return line.mid(wanted.size()).simplified().split(' ').value(0).toDouble() / 1024.0;
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
        return QString::asprintf("median %.3f ms, 99%% under %.3f ms, mean %.3f ms, worst %.3f ms",
                                 quantile(0.5), quantile(0.99), mean(), worst())
            .toUtf8();
    }
};

// The sqlite3 shell's "Run Time: real" of each statement, in ms, with output
// thrown away. `setup` lines (".parameter set ...") run before each statement
// untimed. Empty when the shell cannot be run.
inline std::vector<double> sqliteTimes(const QString &file, const QStringList &statements,
                                       const QStringList &setup = {})
{
    QByteArray script = ".output /dev/null\n";
    for (qsizetype i = 0; i < statements.size(); ++i) {
        if (i < setup.size())
            script += setup.at(i).toUtf8() + '\n';
        script += ".timer on\n" + statements.at(i).toUtf8() + "\n.timer off\n";
    }
    QProcess shell;
    shell.start(QStringLiteral("sqlite3"), {QStringLiteral("-readonly"), file});
    if (!shell.waitForStarted())
        return {};
    shell.write(script);
    shell.closeWriteChannel();
    shell.waitForFinished(-1);
    std::vector<double> times;
    static const QRegularExpression runTime(QStringLiteral("Run Time: real ([0-9.]+)"));
    auto it = runTime.globalMatch(QString::fromUtf8(shell.readAllStandardOutput()));
    while (it.hasNext())
        times.push_back(it.next().captured(1).toDouble() * 1000.0);
    return times;
}

// The best of `runs` shell timings of one statement.
inline double sqliteBest(const QString &file, const QString &statement, int runs = 3)
{
    const std::vector<double> t = sqliteTimes(file, QStringList(runs, statement));
    return t.empty() ? -1 : *std::min_element(t.begin(), t.end());
}

inline QByteArray anchored(double ours, double anchor)
{
    if (anchor <= 0)
        return QByteArrayLiteral("(sqlite3 not run)");
    return QString::asprintf("sqlite3 %.3f ms, ratio %.2f", anchor, ours / anchor).toUtf8();
}

} // namespace Bench
