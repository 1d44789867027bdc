#include "app/AppState.h"
#include "app/KolvaneMain.h"
#include "app/SdlSoundPlayer.h"
#include "app/Startup.h"
#include "platform/Clock.h"
#include "platform/SystemDesktop.h"
#include "platform/Waiter.h"
#include "platform/WidgetMessageBoxes.h"

#include <QApplication>

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Kolvane"));
    QApplication::setApplicationVersion(QStringLiteral("1.4"));

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
