#include "app/Startup.h"

#include "app/AppState.h"
#include "app/KolvaneMain.h"
#include "app/SettingsStore.h"
#include "app/SoundPlayer.h"
#include "app/Splash.h"
#include "app/StartupSteps.h"
#include "platform/Clock.h"
#include "platform/Database.h"
#include "platform/MessageBoxes.h"
#include "platform/Paths.h"

#include <QCoreApplication>
#include <QDir>

StartupResult Main(AppState &state, const QString &programFolder)
{
    StartupResult result;

    state.AppPath = Paths::withTrailingSlash(programFolder);
    {
        const SettingsStore settings(SettingsStore::fileIn(state.AppPath), state.services.messages);
        state.PasswordHash = settings.ReadSetting(QStringLiteral("PwInf"));
        state.SchoolName = settings.ReadSetting(QStringLiteral("SchoolName"));
    }

    Splash splash;
    splash.placeOnScreen();
    splash.show();
    splash.repaint();
    QCoreApplication::processEvents();

    StartupSteps::createWorkingFolders(state.AppPath);
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
    if (verdict.kind == StartupSteps::DatabaseVerdict::Missing) {
        state.services.messages.ok(StartupSteps::missingDatabaseMessage(state.databaseFile()));
        state.services.sound.stopMusic();
        state.services.sound.stopWave();
        // Gone without its exit question, backup or unload.
        result.mainWindow->abandon();
        result.mainWindow.reset();
        result.verdict = StartupResult::End;
        return result;
    }
    if (verdict.kind == StartupSteps::DatabaseVerdict::RestoredDamaged)
        state.services.messages.ok(
            StartupSteps::damagedDatabaseMessage(state.databaseFile(), verdict.keptAs),
            MessageBoxes::Icon::Exclamation);

    splash.repaint();
    Database::open(state.databaseFile(), state.DbConnection);

    result.mainWindow->show();
    splash.close();
    result.verdict = StartupResult::RunEventLoop;
    return result;
}
