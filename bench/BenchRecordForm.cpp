// bench_recordform FOLDER [--grab FILE]
// Opens the record form on the Student table of a program folder (filled by
// kolvane_makeschool, with --photos for a photo folder), as Data Entry does,
// then steps with Next and finds numbers through the form's own buttons, the
// form painted after each step as the operator sees it, and, apart, when each
// step's photo landed from its decoder and was painted. Prints the times,
// the memory, and the sqlite3 shell's time for the same statements.
#include "BenchProgram.h"
#include "BenchSupport.h"
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
#include <cstdio>

namespace {

// Counts the paint events of one box, to show that each step really painted.
class PaintCounter : public QObject
{
public:
    int count = 0;
    bool eventFilter(QObject *, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            ++count;
        return false;
    }
};

// What the step left for the event loop, done now as the loop does it after
// an input event: every posted event (layout requests among them), ending
// with the paint of the widgets whose contents changed.
void settle()
{
    QApplication::sendPostedEvents(nullptr, 0);
}

// A step's photo decodes on a worker while the row already shows; waits for it
// to land and be painted, and records when, from the start of the step.
void photoLanded(const MenData &form, const QElapsedTimer &t, Bench::Figures &landed)
{
    if (!form.photoPending())
        return;
    while (form.photoPending())
        QApplication::processEvents(QEventLoop::WaitForMoreEvents);
    settle();
    landed.add(t.nsecsElapsed());
}

} // namespace

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_recordform FOLDER\n");
        return 2;
    }
    Bench::Program program(argv[1]);
    AppState &state = program.state;

    QStringList numbers;
    {
        QSqlQuery q(state.db());
        q.exec(QStringLiteral("SELECT Number FROM Student ORDER BY random() LIMIT 500"));
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
    form.repaint();
    PaintCounter surnamePaints;
    form.findChild<QWidget *>(QStringLiteral("txtSurname"))->installEventFilter(&surnamePaints);
    // Each step as the operator meets it: the click, then the window painted.
    Bench::Figures nextMs, findMs, photoMs;
    for (int i = 0; i < 3000; ++i) {
        t.restart();
        next->click();
        settle();
        nextMs.add(t.nsecsElapsed());
        photoLanded(form, t, photoMs);
    }
    for (const QString &n : numbers) {
        // The number as typed is on screen before Find is clicked.
        goTo->setText(n);
        settle();
        t.restart();
        find->click();
        settle();
        findMs.add(t.nsecsElapsed());
        photoLanded(form, t, photoMs);
    }
    const int grabAt = app.arguments().indexOf(QStringLiteral("--grab"));
    if (grabAt > 0)
        form.grab().save(app.arguments().value(grabAt + 1));

    const QString file = state.databaseFile();
    const double keysetAnchor =
        Bench::sqliteBest(file, QStringLiteral("SELECT rowid FROM \"Student\";"));
    QStringList lookups;
    for (const QString &n : numbers)
        lookups << QStringLiteral("('%1')").arg(n);
    const double findsAnchor = Bench::sqliteBest(
        file, QStringLiteral(
                  "WITH n(x) AS (VALUES %1) SELECT s.* FROM n JOIN Student s ON s.Number = n.x;")
                  .arg(lookups.join(u',')));
    std::printf("rows %d\n", form.recordset().recordCount());
    std::printf("open (to shown)  %.1f ms; its keyset alone in %s\n", openMs,
                Bench::anchored(openMs, keysetAnchor).constData());
    std::printf("Next             %s (%zu steps)\n", nextMs.line().constData(), nextMs.ms.size());
    std::printf("Find Number      %s (%zu numbers)\n", findMs.line().constData(), findMs.ms.size());
    std::printf("                 the same lookups, whole rows, %s\n",
                Bench::anchored(findMs.mean() * double(findMs.ms.size()), findsAnchor).constData());
    if (!photoMs.ms.empty())
        std::printf("photo shown      %s after its step began (%zu photos)\n",
                    photoMs.line().constData(), photoMs.ms.size());
    std::printf("surname box painted %d times in %zu steps\n", surnamePaints.count,
                nextMs.ms.size() + findMs.ms.size());
    std::printf("peak memory      %.1f MB\nmessages counted %d\n", Bench::statusMegabytes("VmHWM:"),
                program.messages.count);
    return 0;
}
