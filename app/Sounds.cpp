#include "app/Sounds.h"

#include "app/AppState.h"
#include "app/SoundPlayer.h"

void SoundSiren(AppState &state)
{
    for (int i = 0; i < 5; ++i) {
        state.services.sound.playWave(state.SirenWav, SoundPlayer::RepeatMode);
        state.WaitSeconds(1);
    }
}
