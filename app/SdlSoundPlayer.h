#pragma once

#include "app/SoundPlayer.h"

#include <QStringList>

struct Mix_Chunk;
struct _Mix_Music;

// The program's sound player over SDL2_mixer: voice prompts on one channel,
// MIDI and RMI pieces as music through a General MIDI sound font. Without an
// audio device every call does nothing and no music reads as playing.
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
    _Mix_Music *m_music = nullptr;
};
