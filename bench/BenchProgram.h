#pragma once

// The program state a form benchmark needs: the seams of a running program
// (messages counted and, if asked, printed instead of shown; no waits, no
// sound) and an AppState over a program folder made by kolvane_makeschool,
// with its class structure loaded and its database open.
#include "app/AppState.h"
#include "app/SoundPlayer.h"
#include "classes/ClassStructure.h"
#include "platform/Clock.h"
#include "platform/Database.h"
#include "platform/FrameStyle.h"
#include "platform/MessageBoxes.h"
#include "platform/SystemDesktop.h"
#include "platform/Waiter.h"

#include <QDir>
#include <cstdio>

namespace Bench {

class CountedMessages : public MessageBoxes
{
public:
    explicit CountedMessages(bool print) : m_print(print) {}
    Button show(const QString &text, Icon, Buttons) override
    {
        ++count;
        if (m_print)
            std::fprintf(stderr, "message: %s\n", qPrintable(text));
        return Ok;
    }
    int count = 0;

private:
    bool m_print;
};

class NoWait : public Waiter
{
public:
    void waitSeconds(int) override {}
};

class Program
{
public:
    Program(const char *folder, bool printMessages = false)
        : messages(printMessages)
        , state(Services{messages, waiter, sound, clock, desktop})
    {
        // The style the program runs with.
        installProgramStyle();
        state.AppPath = QDir(QString::fromLocal8Bit(folder)).absolutePath() + u'/';
        FillClassLevelNames(state.classes);
        state.IniPath = state.path(QStringLiteral("Progs/Kolvane.ini"));
        LoadClassStructure(state.classes, state.IniPath);
        Database::open(state.databaseFile(), state.DbConnection);
    }

    CountedMessages messages;
    NoWait waiter;
    SilentSoundPlayer sound;
    SystemClock clock;
    SystemDesktop desktop;
    AppState state;
};

} // namespace Bench
