#pragma once

#include <QString>

// What the program asks of its sound player. Every call is fire and forget:
// a missing file or a failing device leaves the program silent and working.
class SoundPlayer
{
public:
    // The two modes the callers pass when playing a wave file.
    static constexpr int PromptMode = -1;
    static constexpr int RepeatMode = -2;

    virtual ~SoundPlayer() = default;
    virtual void playWave(const QString &file, int mode) = 0;
    virtual void stopWave() = 0;
    virtual void playMusic(const QString &file) = 0;
    virtual void stopMusic() = 0;
    virtual bool musicPlaying() const = 0;
};

// Plays nothing and reports that no music is playing.
class SilentSoundPlayer : public SoundPlayer
{
public:
    void playWave(const QString &, int) override {}
    void stopWave() override {}
    void playMusic(const QString &) override {}
    void stopMusic() override {}
    bool musicPlaying() const override { return false; }
};
