#include "app/Startup.h"

#include "app/AppState.h"
#include "app/KolvaneMain.h"
#include "app/SettingsStore.h"
#include "app/SingleInstance.h"
#include "app/SoundPlayer.h"
#include "app/Splash.h"
#include "app/StartupSteps.h"
#include "platform/Clock.h"
#include "platform/Database.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"

#include <QApplication>
#include <QDir>

StartupResult::StartupResult() = default;
StartupResult::StartupResult(StartupResult &&) noexcept = default;
StartupResult::~StartupResult() = default;

StartupResult Main(AppState &state, const QString &programFolder)
{
    StartupResult result;

    state.AppPath = Paths::withTrailingSlash(programFolder);
    result.instance = std::make_unique<SingleInstance>(state.path(QStringLiteral("Progs")));
    if (!result.instance->acquire()) {
        // Two programs on one database: the last to exit would overwrite the backup.
        result.instance->wakeHolder();
        state.services.messages.ok(QStringLiteral("Kolvane is already running."));
        result.instance.reset();
        result.exitCode = StartupResult::AlreadyRunning;
        return result;
    }
    {
        const SettingsStore settings(SettingsStore::fileIn(state.AppPath), state.services.messages);
        settings.makeOwnerOnly();
        state.PasswordHash = settings.ReadSetting(QStringLiteral("PwInf"));
        state.SchoolName = settings.ReadSetting(QStringLiteral("SchoolName"));
    }

    Splash splash;
    splash.placeOnScreen();
    splash.show();
    splash.repaint();
    QCoreApplication::processEvents();

    StartupSteps::createWorkingFolders(state.AppPath);
    StartupSteps::removeLeftovers(state.AppPath);
    QDir::setCurrent(state.AppPath);
    state.MusicFiles = StartupSteps::musicFiles(state.AppPath);
    state.VoiceOn = true;
    StartupSteps::setSoundPaths(state);

    result.mainWindow = std::make_unique<KolvaneMain>(state);

    FillClassLevelNames(state.classes);
    state.IniPath = state.path(QStringLiteral("Progs/Kolvane.ini"));
    LoadClassStructure(state.classes, state.IniPath);

    const StartupSteps::DatabaseVerdict verdict =
        StartupSteps::ensureDatabase(state, state.services.clock.now());
    const QString message = StartupSteps::databaseMessage(verdict, state.databaseFile());
    if (verdict.kind == StartupSteps::DatabaseVerdict::RestoredDamaged) {
        state.services.messages.ok(message, MessageBoxes::Icon::Exclamation);
    } else if (!message.isEmpty()) {
        state.services.messages.ok(message);
        state.services.sound.stopMusic();
        state.services.sound.stopWave();
        // Gone without its exit question, backup or unload.
        result.mainWindow->abandon();
        result.mainWindow.reset();
        result.verdict = StartupResult::End;
        return result;
    }

    splash.repaint();
    Database::open(state.databaseFile(), state.DbConnection);

    KolvaneMain *window = result.mainWindow.get();
    QObject::connect(result.instance.get(), &SingleInstance::wakeRequested, window, [window] {
        // The form in front, when one is open, is what the operator wants back.
        QWidget *front =
            QApplication::activeModalWidget() ? QApplication::activeModalWidget() : window;
        window->setWindowState(window->windowState() & ~Qt::WindowMinimized);
        front->raise();
        front->activateWindow();
    });
    result.mainWindow->show();
    splash.close();
    result.verdict = StartupResult::RunEventLoop;
    return result;
}
