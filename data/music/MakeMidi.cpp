// Writes the background music, tunes long out of copyright, as standard MIDI
// files: make_midi <folder>.
#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace {

constexpr int TicksPerBeat = 480;

struct Voice
{
    int channel;
    int program;  // General MIDI instrument
    int velocity;
    int delayBeats; // where the voice comes in (a round)
    const char *notes; // "E4:1 D#4:0.5 R:2": name, sharp or flat, octave : beats
};

struct Tune
{
    const char *file;
    int beatsPerMinute;
    std::vector<Voice> voices;
};

struct Event
{
    long tick;
    int order; // note-offs before note-ons at the same tick
    std::vector<uint8_t> bytes;
};

int noteNumber(const std::string &name)
{
    static const int steps[] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    int n = steps[name[0] - 'A'];
    size_t i = 1;
    if (name[i] == '#')
        ++n, ++i;
    else if (name[i] == 'b')
        --n, ++i;
    return 12 * (std::stoi(name.substr(i)) + 1) + n;
}

void addVoice(const Voice &v, std::vector<Event> &events)
{
    const auto ch = static_cast<uint8_t>(v.channel);
    events.push_back({0, 0, {static_cast<uint8_t>(0xC0 | ch), static_cast<uint8_t>(v.program)}});
    long tick = static_cast<long>(v.delayBeats) * TicksPerBeat;
    std::istringstream in(v.notes);
    std::string token;
    while (in >> token) {
        const size_t colon = token.find(':');
        const long length = std::lround(std::stod(token.substr(colon + 1)) * TicksPerBeat);
        const std::string name = token.substr(0, colon);
        if (name != "R") {
            const auto key = static_cast<uint8_t>(noteNumber(name));
            events.push_back({tick, 1, {static_cast<uint8_t>(0x90 | ch), key, static_cast<uint8_t>(v.velocity)}});
            // A little air between notes.
            events.push_back({tick + length - 20, 0, {static_cast<uint8_t>(0x80 | ch), key, 0}});
        }
        tick += length;
    }
}

void put32(std::vector<uint8_t> &out, uint32_t v)
{
    for (int s = 24; s >= 0; s -= 8)
        out.push_back(static_cast<uint8_t>(v >> s));
}

void putVariable(std::vector<uint8_t> &out, uint32_t v)
{
    uint8_t bytes[5];
    int n = 0;
    bytes[n++] = v & 0x7F;
    while (v >>= 7)
        bytes[n++] = static_cast<uint8_t>(0x80 | (v & 0x7F));
    while (n > 0)
        out.push_back(bytes[--n]);
}

bool write(const Tune &tune, const std::string &folder)
{
    std::vector<Event> events;
    const uint32_t tempo = 60000000 / tune.beatsPerMinute;
    events.push_back({0, -1, {0xFF, 0x51, 3, uint8_t(tempo >> 16), uint8_t(tempo >> 8), uint8_t(tempo)}});
    for (const Voice &v : tune.voices)
        addVoice(v, events);
    std::stable_sort(events.begin(), events.end(), [](const Event &a, const Event &b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });

    std::vector<uint8_t> track;
    long last = 0;
    for (const Event &e : events) {
        putVariable(track, static_cast<uint32_t>(e.tick - last));
        track.insert(track.end(), e.bytes.begin(), e.bytes.end());
        last = e.tick;
    }
    // A beat of silence, then the end of the track.
    putVariable(track, TicksPerBeat);
    track.insert(track.end(), {0xFF, 0x2F, 0x00});

    std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1};
    file.push_back(TicksPerBeat >> 8);
    file.push_back(TicksPerBeat & 0xFF);
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    put32(file, static_cast<uint32_t>(track.size()));
    file.insert(file.end(), track.begin(), track.end());

    std::ofstream out(folder + "/" + tune.file, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char *>(file.data()), static_cast<std::streamsize>(file.size()));
    return static_cast<bool>(out);
}

const char *const FrereJacques =
    "F4:1 G4:1 A4:1 F4:1 F4:1 G4:1 A4:1 F4:1 A4:1 Bb4:1 C5:2 A4:1 Bb4:1 C5:2 "
    "C5:0.5 D5:0.5 C5:0.5 Bb4:0.5 A4:1 F4:1 C5:0.5 D5:0.5 C5:0.5 Bb4:0.5 A4:1 F4:1 "
    "F4:1 C4:1 F4:2 F4:1 C4:1 F4:2";

const std::vector<Tune> Tunes = {
    // Beethoven, the theme of the Ninth Symphony's last movement.
    {"OdeToJoy.mid",
     104,
     {{0, 0, 96, 0,
       "E4:1 E4:1 F4:1 G4:1 G4:1 F4:1 E4:1 D4:1 C4:1 C4:1 D4:1 E4:1 E4:1.5 D4:0.5 D4:2 "
       "E4:1 E4:1 F4:1 G4:1 G4:1 F4:1 E4:1 D4:1 C4:1 C4:1 D4:1 E4:1 D4:1.5 C4:0.5 C4:2 "
       "D4:1 D4:1 E4:1 C4:1 D4:1 E4:0.5 F4:0.5 E4:1 C4:1 D4:1 E4:0.5 F4:0.5 E4:1 D4:1 C4:1 D4:1 G3:2 "
       "E4:1 E4:1 F4:1 G4:1 G4:1 F4:1 E4:1 D4:1 C4:1 C4:1 D4:1 E4:1 D4:1.5 C4:0.5 C4:2"},
      {1, 48, 60, 0,
       "C3:4 G2:4 C3:4 G2:4 C3:4 G2:4 C3:4 G2:2 C3:2 G2:4 C3:4 G2:4 G2:4 C3:4 G2:4 C3:4 G2:2 C3:2"}}},
    // The French nursery round, in three voices.
    {"FrereJacques.mid",
     120,
     {{0, 73, 90, 0, FrereJacques}, {1, 71, 80, 8, FrereJacques}, {2, 70, 76, 16, FrereJacques}}},
    // The old French air that is sung as "Twinkle, Twinkle, Little Star".
    {"Twinkle.mid",
     100,
     {{0, 10, 100, 0,
       "C5:1 C5:1 G5:1 G5:1 A5:1 A5:1 G5:2 F5:1 F5:1 E5:1 E5:1 D5:1 D5:1 C5:2 "
       "G5:1 G5:1 F5:1 F5:1 E5:1 E5:1 D5:2 G5:1 G5:1 F5:1 F5:1 E5:1 E5:1 D5:2 "
       "C5:1 C5:1 G5:1 G5:1 A5:1 A5:1 G5:2 F5:1 F5:1 E5:1 E5:1 D5:1 D5:1 C5:2"},
      {1, 0, 70, 0,
       "C3:2 C3:2 F3:2 C3:2 F3:2 C3:2 G2:2 C3:2 C3:2 F3:2 C3:2 G2:2 C3:2 F3:2 C3:2 G2:2 "
       "C3:2 C3:2 F3:2 C3:2 F3:2 C3:2 G2:2 C3:2"}}},
};

} // namespace

int main(int argc, char *argv[])
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: make_midi <folder>\n");
        return 2;
    }
    for (const Tune &tune : Tunes) {
        if (!write(tune, argv[1])) {
            std::fprintf(stderr, "cannot write %s\n", tune.file);
            return 1;
        }
    }
    return 0;
}
