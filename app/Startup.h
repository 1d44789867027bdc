#pragma once

#include <QString>
#include <memory>

class AppState;
class KolvaneMain;

struct StartupResult
{
    enum Verdict { RunEventLoop, End };
    Verdict verdict = End;
    std::unique_ptr<KolvaneMain> mainWindow;
};

// The start-up sequence over the program folder `programFolder`. It returns
// what it decided; only main() ends the process.
StartupResult Main(AppState &state, const QString &programFolder);
