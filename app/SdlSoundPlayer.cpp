#include "app/SdlSoundPlayer.h"

#include <QFile>
#include <QFileInfo>
#include <SDL.h>
#include <SDL_mixer.h>

namespace {

// Prompts never overlap: a new one replaces the one still speaking.
constexpr int VoiceChannel = 0;

} // namespace

QStringList SdlSoundPlayer::soundFontCandidates()
{
    return {QStringLiteral("/usr/share/sounds/sf2/default-GM.sf2"),
            QStringLiteral("/usr/share/sounds/sf2/FluidR3_GM.sf2"),
            QStringLiteral("/usr/share/sounds/sf2/TimGM6mb.sf2"),
            QStringLiteral("/usr/share/sounds/sf3/default-GM.sf3")};
}

SdlSoundPlayer::SdlSoundPlayer()
{
    // The audio library would otherwise take SIGTERM and SIGINT for itself and
    // the program would no longer end when the session asks it to.
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0)
        return;
    if (Mix_OpenAudio(44100, MIX_DEFAULT_FORMAT, 2, 2048) != 0) {
        SDL_QuitSubSystem(SDL_INIT_AUDIO);
        return;
    }
    m_open = true;
    m_worker.setMaxThreadCount(1);
    Mix_Init(MIX_INIT_MID);
    // The user's own choice of font, if any, wins over ours.
    if (!SDL_getenv("SDL_SOUNDFONTS")) {
        for (const QString &font : soundFontCandidates()) {
            if (QFileInfo(font).isReadable()) {
                Mix_SetSoundFonts(QFile::encodeName(font).constData());
                break;
            }
        }
    }
}

SdlSoundPlayer::~SdlSoundPlayer()
{
    if (!m_open)
        return;
    stopMusic();
    // A piece still being read or let go of finishes before the device closes.
    m_worker.waitForDone();
    stopWave();
    Mix_CloseAudio();
    Mix_Quit();
    SDL_QuitSubSystem(SDL_INIT_AUDIO);
}

void SdlSoundPlayer::playWave(const QString &file, int)
{
    if (!m_open)
        return;
    stopWave();
    m_wave = Mix_LoadWAV(QFile::encodeName(file).constData());
    if (m_wave)
        Mix_PlayChannel(VoiceChannel, m_wave, 0);
}

void SdlSoundPlayer::stopWave()
{
    if (!m_open)
        return;
    // A chunk may be freed only once its channel has let go of it.
    Mix_HaltChannel(VoiceChannel);
    if (m_wave) {
        Mix_FreeChunk(m_wave);
        m_wave = nullptr;
    }
}

void SdlSoundPlayer::playMusic(const QString &file)
{
    if (!m_open)
        return;
    stopMusic();
    // A missing piece never reads as playing.
    if (!QFileInfo::exists(file))
        return;
    QMutexLocker lock(&m_mutex);
    const quint64 asked = ++m_asked;
    m_reading = true;
    lock.unlock();
    m_worker.start([this, path = QFile::encodeName(file), asked] {
        Mix_Music *music = Mix_LoadMUS(path.constData());
        QMutexLocker lock(&m_mutex);
        if (asked != m_asked) {
            // Stopped or replaced while it was read.
            lock.unlock();
            if (music)
                Mix_FreeMusic(music);
            return;
        }
        m_reading = false;
        if (music && Mix_PlayMusic(music, 1) == 0) {
            m_music = music;
            return;
        }
        lock.unlock();
        if (music)
            Mix_FreeMusic(music);
    });
}

void SdlSoundPlayer::stopMusic()
{
    if (!m_open)
        return;
    QMutexLocker lock(&m_mutex);
    ++m_asked;
    m_reading = false;
    Mix_Music *playing = std::exchange(m_music, nullptr);
    lock.unlock();
    Mix_HaltMusic();
    if (playing)
        m_worker.start([playing] { Mix_FreeMusic(playing); });
}

bool SdlSoundPlayer::musicPlaying() const
{
    if (!m_open)
        return false;
    QMutexLocker lock(&m_mutex);
    return m_reading || (m_music && Mix_PlayingMusic() != 0);
}
