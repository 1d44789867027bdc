// bench_report FOLDER
// The report designer on the Student table of a program folder (filled by
// kolvane_makeschool): open and preview the whole-table result, then write the
// report of every student with ten output fields through its Generate button.
// The anchor is the sqlite3 shell printing the same ten columns of the same rows
// as HTML to a file, timed in the same run; the ratio is printed beside it.
#include "BenchSupport.h"
#include "BenchProgram.h"
#include "app/AppState.h"
#include "app/SoundPlayer.h"
#include "platform/Clock.h"
#include "platform/Database.h"
#include "platform/MessageBoxes.h"
#include "platform/SystemDesktop.h"
#include "platform/Waiter.h"
#include "reports/ReportForm.h"

#include <QApplication>
#include <QCheckBox>
#include <QDir>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QListWidget>
#include <cstdio>

namespace {

const QStringList Ten = {"Number", "Surname", "Other_Names", "Sex", "State_Of_Origin",
                         "Birthday", "Class_Level", "Class_Arm", "Amount_Payable",
                         "Financial_Balance"};

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_report FOLDER\n");
        return 2;
    }
    Bench::Program program(argv[1], true);
    AppState &state = program.state;
    state.SchoolName = QStringLiteral("Synthetic School");
    state.classes.CurrentTerm = QStringLiteral("First Term_2026/2027 ");
    QDir().mkpath(state.AppPath + QStringLiteral("Reports"));
    const QueryResult whole = QueryStatement::whole(
        QStringLiteral("Student"),
        QueryStatement::sortClause(QStringLiteral("Number"), QStringLiteral("Surname"),
                                   QStringLiteral("Other_Names")));

    // Open and preview, as Display Result does for a freshly opened query form.
    Bench::Figures open;
    for (int i = 0; i < 5; ++i) {
        QElapsedTimer t;
        t.start();
        ReportForm form(state);
        form.fillAvailable(Ten);
        form.RepActivate(whole);
        form.show();
        QApplication::processEvents();
        open.add(t.nsecsElapsed());
    }

    ReportForm form(state);
    form.fillAvailable(Ten);
    form.RepActivate(whole);
    form.findChild<QListWidget *>(QStringLiteral("lstAvailable"))->selectAll();
    form.cmdDirectionClick(0);
    form.findChild<QCheckBox *>(QStringLiteral("chkBrowser"))->setChecked(false);
    form.findChild<QLineEdit *>(QStringLiteral("txtFilename"))->setText(QStringLiteral("bench"));
    const QString report = state.AppPath + QStringLiteral("Reports/bench.htm");
    const QString shellOut = state.AppPath + QStringLiteral("Reports/bench-sqlite3.html");
    QString select = QStringLiteral("SELECT ");
    for (const QString &f : Ten)
        select += (f == Ten.first() ? QString() : QStringLiteral(",")) + u'[' + f + u']';
    select += QStringLiteral(" FROM Student") + QueryStatement::sortClause(
        QStringLiteral("Number"), QStringLiteral("Surname"), QStringLiteral("Other_Names")) + u';';

    Bench::Figures ours, shell;
    qint64 bytes = 0, shellBytes = 0;
    for (int i = 0; i < 3; ++i) {
        QFile::remove(report);
        QElapsedTimer t;
        t.start();
        form.cmdGenerateClick();
        ours.add(t.nsecsElapsed());
        bytes = QFileInfo(report).size();

        QProcess sqlite;
        sqlite.setStandardOutputFile(shellOut);
        t.restart();
        sqlite.start(QStringLiteral("sqlite3"), {QStringLiteral("-readonly"), QStringLiteral("-html"),
                                                 state.databaseFile(), select});
        sqlite.waitForFinished(-1);
        shell.add(t.nsecsElapsed());
        shellBytes = QFileInfo(shellOut).size();
    }
    QFile::remove(report);
    QFile::remove(shellOut);

    const double reportPeak = Bench::statusMegabytes("VmHWM:");
    // The same rows as a spreadsheet, against sqlite3 -csv; the peak is
    // measured afresh from here ("5" resets it).
    QFile clear(QStringLiteral("/proc/self/clear_refs"));
    if (clear.open(QIODevice::WriteOnly))
        clear.write("5");
    clear.close();
    const QString sheet = state.AppPath + QStringLiteral("Reports/bench.csv");
    Bench::Figures csv, shellCsv;
    for (int i = 0; i < 3; ++i) {
        QElapsedTimer t;
        t.start();
        form.cmdSpreadsheetClick();
        csv.add(t.nsecsElapsed());
        QProcess sqlite;
        sqlite.setStandardOutputFile(shellOut);
        t.restart();
        sqlite.start(QStringLiteral("sqlite3"), {QStringLiteral("-readonly"), QStringLiteral("-csv"),
                                                 state.databaseFile(), select});
        sqlite.waitForFinished(-1);
        shellCsv.add(t.nsecsElapsed());
    }
    const double sheetBytes = double(QFileInfo(sheet).size());
    const double sheetPeak = Bench::statusMegabytes("VmHWM:");
    QFile::remove(sheet);
    QFile::remove(shellOut);

    std::printf("designer open + preview: %s\n", open.line().constData());
    std::printf("report of every student, ten fields (%.1f MB): %s\n", double(bytes) / 1e6,
                ours.line().constData());
    std::printf("sqlite3 -html, same rows and columns (%.1f MB): %s\n", double(shellBytes) / 1e6,
                shell.line().constData());
    std::printf("median ratio %.2f\n", ours.quantile(0.5) / shell.quantile(0.5));
    std::printf("spreadsheet of the same (%.1f MB): %s\n", sheetBytes / 1e6, csv.line().constData());
    std::printf("sqlite3 -csv, same rows and columns: %s\n", shellCsv.line().constData());
    std::printf("median ratio %.2f\n", csv.quantile(0.5) / shellCsv.quantile(0.5));
    std::printf("peak memory %.1f MB; while saving the spreadsheet %.1f MB\n", reportPeak, sheetPeak);
    return 0;
}
