#pragma once

#include <QString>
#include <memory>

class AppState;
class KolvaneMain;
class SingleInstance;

struct StartupResult
{
    enum Verdict { RunEventLoop, End };
    // What the process returns when it ends at start-up.
    enum ExitCode { NoDatabase = 1, AlreadyRunning = 2 };
    StartupResult();
    StartupResult(StartupResult &&) noexcept;
    ~StartupResult();

    Verdict verdict = End;
    int exitCode = NoDatabase;
    // Held for the life of the program: the folder is ours.
    std::unique_ptr<SingleInstance> instance;
    std::unique_ptr<KolvaneMain> mainWindow;
};

// The start-up sequence over the program folder `programFolder`. It returns
// what it decided; only main() ends the process.
StartupResult Main(AppState &state, const QString &programFolder);
