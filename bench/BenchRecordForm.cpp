// bench_recordform FOLDER
// Opens the record form on the Student table of a program folder (filled by
// kolvane_makeschool), as Data Entry does, then steps with Next and finds
// numbers through the form's own buttons. Prints the times and the memory.
#include "app/AppState.h"
#include "app/SoundPlayer.h"
#include "classes/ClassStructure.h"
#include "platform/Clock.h"
#include "platform/Database.h"
#include "platform/MessageBoxes.h"
#include "platform/SystemDesktop.h"
#include "platform/Waiter.h"
#include "records/MenData.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QSqlQuery>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

class SilentMessages : public MessageBoxes
{
public:
    Button show(const QString &, Icon, Buttons) override
    {
        ++count;
        return Ok;
    }
    int count = 0;
};

class NoWait : public Waiter
{
public:
    void waitSeconds(int) override {}
};

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
    if (v.empty())
        return 0;
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

double worst(const std::vector<double> &v)
{
    return v.empty() ? 0 : *std::max_element(v.begin(), v.end());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_recordform FOLDER\n");
        return 2;
    }
    SilentMessages messages;
    NoWait waiter;
    SilentSoundPlayer sound;
    SystemClock clock;
    SystemDesktop desktop;
    AppState state(Services{messages, waiter, sound, clock, desktop});
    state.AppPath = QString::fromLocal8Bit(argv[1]);
    if (!state.AppPath.endsWith(u'/'))
        state.AppPath += u'/';
    FillClassLevelNames(state.classes);
    state.IniPath = state.path(QStringLiteral("Progs/Kolvane.ini"));
    LoadClassStructure(state.classes, state.IniPath);
    Database::open(state.databaseFile(), state.DbConnection);

    QStringList numbers;
    {
        QSqlQuery q(state.db());
        q.exec(QStringLiteral("SELECT Number FROM Student ORDER BY random() LIMIT 200"));
        while (q.next())
            numbers << q.value(0).toString();
    }

    state.RecordKind = QStringLiteral("Student");
    QElapsedTimer t;
    t.start();
    MenData form(state);
    form.arrangeForOpener(true);
    form.show();
    QApplication::processEvents();
    const double openMs = double(t.nsecsElapsed()) / 1e6;

    auto *first = form.findChild<QPushButton *>(QStringLiteral("cmdAction(0)"));
    auto *next = form.findChild<QPushButton *>(QStringLiteral("cmdAction(3)"));
    auto *find = form.findChild<QPushButton *>(QStringLiteral("cmdAction(7)"));
    auto *goTo = form.findChild<QLineEdit *>(QStringLiteral("txtGoTo"));
    first->click();
    std::vector<double> nextMs, findMs;
    for (int i = 0; i < 2000; ++i) {
        t.restart();
        next->click();
        nextMs.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    for (const QString &n : numbers) {
        goTo->setText(n);
        t.restart();
        find->click();
        findMs.push_back(double(t.nsecsElapsed()) / 1e6);
    }
    std::printf("rows %d\nopen (to shown) %.1f ms\nNext median %.3f ms, worst %.3f ms\n"
                "Find Number median %.3f ms, worst %.3f ms\npeak memory %.1f MB\nmessages shown %d\n",
                form.recordset().recordCount(), openMs, median(nextMs), worst(nextMs), median(findMs),
                worst(findMs), peakMegabytes(), messages.count);
    return 0;
}
