// bench_queryform FOLDER
// Opens the query form on the Student table of a program folder (filled by
// kolvane_makeschool), then runs "Fetch All Records" and a filter on Surname
// like + Class_Level through the form's own buttons. The sqlite3 shell counts
// the same rows on the same file as the anchor; the ratio is printed beside it.
#include "BenchProgram.h"
#include "app/AppState.h"
#include "app/SoundPlayer.h"
#include "classes/ClassStructure.h"
#include "platform/Clock.h"
#include "platform/Database.h"
#include "platform/MessageBoxes.h"
#include "platform/SystemDesktop.h"
#include "platform/Waiter.h"
#include "reports/QueryReport.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QLabel>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QRegularExpression>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int Repeats = 15;

double peakMegabytes()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray &line : status.readAll().split('\n'))
        if (line.startsWith("VmHWM:"))
            return line.mid(6).simplified().split(' ').value(0).toDouble() / 1024.0;
    return -1;
}

double median(std::vector<double> v)
{
    std::sort(v.begin(), v.end());
    return v.empty() ? 0 : v[v.size() / 2];
}

// The shell's own timer on `sql`, run Repeats times in one process: the
// median in ms, and the count it printed.
double shellMs(const QString &file, const QString &sql, QString *count)
{
    QString script = QStringLiteral(".timer on\n");
    for (int i = 0; i < Repeats; ++i)
        script += sql + QStringLiteral(";\n");
    QProcess shell;
    shell.start(QStringLiteral(KOLVANE_SQLITE3), {file});
    shell.write(script.toUtf8());
    shell.closeWriteChannel();
    shell.waitForFinished(-1);
    const QString out = QString::fromUtf8(shell.readAllStandardOutput());
    std::vector<double> ms;
    static const QRegularExpression real(QStringLiteral("Run Time: real ([0-9.]+)"));
    for (auto it = real.globalMatch(out); it.hasNext();)
        ms.push_back(it.next().captured(1).toDouble() * 1000.0);
    *count = out.section(u'\n', 0, 0).trimmed();
    return median(ms);
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_queryform FOLDER\n");
        return 2;
    }
    Bench::Program program(argv[1]);
    AppState &state = program.state;
    if (state.classes.LevelsWithArms.isEmpty()) {
        // The synthetic school comes without its class structure file.
        const int p1 = state.classes.levelIndex(QStringLiteral("Primary1"));
        state.classes.ClassArms[p1] = {"A", "B", "C", "Blue", "Red"};
        state.classes.NumberOfArms[p1] = 5;
        state.classes.LevelsWithArms = {QStringLiteral("Primary1")};
    }
    state.RecordKind = QStringLiteral("Student");
    state.LoginGranted = true;

    QElapsedTimer t;
    t.start();
    QueryReport form(state);
    form.show();
    QApplication::processEvents();
    const double openMs = double(t.nsecsElapsed()) / 1e6;

    auto *label = form.findChild<QLabel *>(QStringLiteral("lblRecFound"));
    auto search = [&](int index) {
        std::vector<double> ms;
        for (int i = 0; i < Repeats; ++i) {
            t.restart();
            form.cmdGiveWholeReportClick(index);
            ms.push_back(double(t.nsecsElapsed()) / 1e6);
        }
        return median(ms);
    };
    const double allMs = search(0);
    const QString allFound = label->text();

    form.findChild<QCheckBox *>(QStringLiteral("chkQ(1)"))->setChecked(true);
    form.cmdQClick(1);
    form.findChild<QLineEdit *>(QStringLiteral("TextQ(1)"))->setText(QStringLiteral("Ad"));
    form.findChild<QCheckBox *>(QStringLiteral("chkQ(9)"))->setChecked(true);
    auto *level = form.findChild<QComboBox *>(QStringLiteral("cmbClassLevel"));
    level->setCurrentText(QStringLiteral("Primary1"));
    const double filterMs = search(1);
    const QString filterFound = label->text();

    const QString file = state.databaseFile();
    QString allShell, filterShell;
    const double allAnchor =
        shellMs(file, QStringLiteral("SELECT count(*) FROM Student"), &allShell);
    const double filterAnchor =
        shellMs(file,
                QStringLiteral("SELECT count(*) FROM Student WHERE   [Surname]  like '%Ad%' AND "
                               "[Class_Level]  = 'Primary1'"),
                &filterShell);

    std::printf("form open (to shown) %.1f ms (level list: %s)\n", openMs,
                qPrintable(level->currentText()));
    std::printf("Fetch All Records    %.2f ms, %s | sqlite3 %.2f ms, %s | ratio %.2f\n", allMs,
                qPrintable(allFound), allAnchor, qPrintable(allShell), allMs / allAnchor);
    std::printf("Surname like + level %.2f ms, %s | sqlite3 %.2f ms, %s | ratio %.2f\n", filterMs,
                qPrintable(filterFound), filterAnchor, qPrintable(filterShell),
                filterMs / filterAnchor);
    std::printf("peak memory %.1f MB\n", peakMegabytes());
    return 0;
}
