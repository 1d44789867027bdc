#pragma once

#include "app/SoundPlayer.h"

#include <QMutex>
#include <QStringList>
#include <QThreadPool>

struct Mix_Chunk;
struct _Mix_Music;

// The program's sound player over SDL2_mixer: voice prompts on one channel,
// MIDI and RMI pieces as music through a General MIDI sound font. Without an
// audio device every call does nothing and no music reads as playing.
// Reading a piece reads the whole sound font (a fifth of a second for the
// usual one), so pieces are read, started and let go of on a worker thread;
// a piece being read already reads as playing.
class SdlSoundPlayer : public SoundPlayer
{
public:
    SdlSoundPlayer();
    ~SdlSoundPlayer() override;
    SdlSoundPlayer(const SdlSoundPlayer &) = delete;
    SdlSoundPlayer &operator=(const SdlSoundPlayer &) = delete;

    // Whether an audio device was opened.
    bool isOpen() const { return m_open; }

    void playWave(const QString &file, int mode) override;
    void stopWave() override;
    void playMusic(const QString &file) override;
    void stopMusic() override;
    bool musicPlaying() const override;

    // The General MIDI sound fonts tried, in order; the first present is used.
    static QStringList soundFontCandidates();

private:
    bool m_open = false;
    Mix_Chunk *m_wave = nullptr;
    // Guards the piece and what is asked of the worker.
    mutable QMutex m_mutex;
    _Mix_Music *m_music = nullptr;
    // Counts the pieces asked for; a piece read for an older count is let go.
    quint64 m_asked = 0;
    bool m_reading = false;
    QThreadPool m_worker;
};
