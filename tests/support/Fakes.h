#pragma once

#include "app/SoundPlayer.h"
#include "platform/Clock.h"
#include "platform/Desktop.h"
#include "platform/MessageBoxes.h"
#include "platform/Waiter.h"

#include <QList>
#include <QQueue>
#include <QStringList>
#include <functional>

// Records every message box and answers from a script. With no answer
// scripted, the first button offered is pressed.
class ScriptedMessageBoxes : public MessageBoxes
{
public:
    struct Shown
    {
        QString text;
        Icon icon;
        Buttons buttons;
        QString title = MessageBoxes::title();
    };

    Button show(const QString &text, Icon icon, Buttons buttons) override;
    Button showTitled(const QString &caption, const QString &text, Icon icon, Buttons buttons) override;

    void setNextAnswer(Button b) { m_answers.enqueue(b); }
    // Runs when a box is shown, before it is answered (to look at the screen).
    std::function<void(const QString &)> onShow;

    QList<Shown> shown;
    QStringList texts() const;
    void clear() { shown.clear(); }

private:
    QQueue<Button> m_answers;
};

class RecordingWaiter : public Waiter
{
public:
    void waitSeconds(int seconds) override;
    QList<int> waits;
    // Shared with a sound fake so that waits and sounds can be read in order.
    QStringList *journal = nullptr;
};

class RecordingSoundPlayer : public SoundPlayer
{
public:
    void playWave(const QString &file, int mode) override;
    void stopWave() override;
    void playMusic(const QString &file) override;
    void stopMusic() override;
    bool musicPlaying() const override { return playing; }

    bool playing = false;
    QStringList calls; // "wave <file> <mode>", "stop wave", "music <file>", "stop music"
    QStringList *journal = nullptr;
};

class FixedClock : public Clock
{
public:
    QDateTime now() const override { return current; }
    QDateTime current = QDateTime(QDate(2026, 3, 14), QTime(9, 26, 53));
};

// A desktop with or without a printer; pages asked for are recorded. Printing goes to `onPrint` (a test
// prints to a PDF file there); without it the document is only counted.
class FakeDesktop : public Desktop
{
public:
    bool hasPrinter() const override { return printerInstalled; }
    bool print(QTextDocument &document, QWidget *) override
    {
        ++prints;
        return onPrint ? onPrint(document) : true;
    }

    Opened openPage(const QString &address) override
    {
        pages << address;
        return opened;
    }

    bool printerInstalled = false;
    int prints = 0;
    std::function<bool(QTextDocument &)> onPrint;
    QStringList pages;
    Opened opened = Opened::Shown;
};
