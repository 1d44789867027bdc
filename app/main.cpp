#include "app/AppState.h"
#include "app/KolvaneMain.h"
#include "app/SdlSoundPlayer.h"
#include "app/Startup.h"
#include "platform/Clock.h"
#include "platform/FrameStyle.h"
#include "platform/SystemDesktop.h"
#include "platform/Waiter.h"
#include "platform/WidgetMessageBoxes.h"

#include <QApplication>
#include <QIcon>

#include <cstdio>
#include <cstring>

namespace {

// --version and --help answer on the terminal before anything else is made:
// no display, no lock on the program folder, no database.
bool answeredOnTerminal(int argc, char *argv[])
{
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--version") == 0) {
            std::fputs("Kolvane " KOLVANE_VERSION "\n", stdout);
            return true;
        }
        if (std::strcmp(argv[i], "--help") == 0) {
            std::fputs("Usage: kolvane [--version | --help]\n"
                       "School records for one school. The records are kept in the folder\n"
                       "the program is in (Progs/Kolvane.db, Backup/, Reports/, Pictures/).\n"
                       "  --version  print the version and end\n"
                       "  --help     print this text and end\n",
                       stdout);
            return true;
        }
    }
    return false;
}

} // namespace

int main(int argc, char *argv[])
{
    if (answeredOnTerminal(argc, argv))
        return 0;

    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kolvane"));
    QApplication::setApplicationVersion(QStringLiteral(KOLVANE_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("kolvane"));
    QApplication::setWindowIcon(QIcon(QStringLiteral(":/kolvane.svg")));
    installProgramStyle();

    WidgetMessageBoxes messages;
    SleepingWaiter waiter;
    SdlSoundPlayer sound;
    SystemClock clock;
    SystemDesktop desktop;
    AppState state(Services{messages, waiter, sound, clock, desktop});

    StartupResult started = Main(state, QCoreApplication::applicationDirPath());
    if (started.verdict == StartupResult::End)
        return started.exitCode;
    // The window's exit steps end the program, even with a form still open.
    QObject::connect(started.mainWindow.get(), &KolvaneMain::exited, &app, &QCoreApplication::quit,
                     Qt::QueuedConnection);
    return QApplication::exec();
}
