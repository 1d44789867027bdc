#pragma once

class AppState;

// The siren after a third wrong password: SirenWav five times, one second
// apart. The program is blocked while it lasts.
void SoundSiren(AppState &state);
