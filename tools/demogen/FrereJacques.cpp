#include "demogen/Arrange.h"
#include "demogen/Songs.h"

// The French nursery round (18th century) in G major, sung twice through by each of four wind
// instruments entering two bars apart, over a plucked bass. Each voice has its own track.

namespace demogen {

SongFile FrereJacques() {
    constexpr std::uint32_t kBeat = kTicksPerQuarter;
    constexpr std::uint32_t kBar = 4 * kBeat;
    constexpr std::uint32_t kPasses = 2;
    constexpr std::uint32_t kVoices = 4;
    constexpr std::uint32_t kEntry = 2 * kBar;

    const std::string_view round =
        "G4q A4q B4q G4q | G4q A4q B4q G4q | B4q C5q D5h | B4q C5q D5h |"
        "D5e E5e D5e C5e B4q G4q | D5e E5e D5e C5e B4q G4q | G4q D4q G4h | G4q D4q G4h |";
    std::string twice;
    for (std::uint32_t pass = 0; pass < kPasses; ++pass)
        twice += round;
    const std::uint32_t voiceLength = ParseMelody(twice, kBar).end;
    const std::uint32_t end = (kVoices - 1) * kEntry + voiceLength;

    Track conductor =
        MakeConductor("Frere Jacques", "Traditional French round, public domain; encoded for Shufflon", 4, 4,
                      1, false, 120);
    Ritardando(conductor, end - kBar, end, 120, 84);
    conductor.EndAtLeast(end + kBar);

    struct Voice {
        const char* name;
        int program;
        int transpose;
        int pan;
        int velocity;
    };
    constexpr Voice kRound[kVoices] = {
        {"Clarinet", 71, 0, 44, 84},
        {"Flute", 73, 12, 84, 76},
        {"Oboe", 68, 0, 28, 78},
        {"Bassoon", 70, -12, 100, 88},
    };
    // The chord the voices that have finished hold under the last voice's final note.
    constexpr int kFinalChord[kVoices - 1] = {71, 74, 67}; // B4, D5, G4

    std::vector<Track> tracks{conductor};
    for (std::uint32_t v = 0; v < kVoices; ++v) {
        const Voice& voice = kRound[v];
        const int channel = static_cast<int>(v);
        Track track(voice.name);
        SetUp(track, {channel, voice.program, 100, voice.pan, 50});
        const Melody melody = ParseMelody(twice, kBar, v * kEntry);
        PlayMelody(track, melody, {channel, voice.velocity, 0.88, voice.transpose}, kBar, kBeat, 0);
        if (v + 1 < kVoices)
            track.Note(end - 2 * kBeat, 2 * kBeat, channel, kFinalChord[v] + voice.transpose,
                       voice.velocity - 16);
        tracks.push_back(std::move(track));
    }

    // A plucked bass on G and D keeps the pulse; the whole round stays on the tonic.
    Track bass("Pizzicato bass");
    SetUp(bass, {4, 45, 90, 64, 45});
    for (std::uint32_t bar = 0; bar * kBar < end; ++bar) {
        bass.Note(bar * kBar, kBeat, 4, 43, 76);
        bass.Note(bar * kBar + 2 * kBeat, kBeat, 4, 50, 64);
    }
    tracks.push_back(std::move(bass));

    SongFile song{"Frere Jacques (round).mid", {}};
    song.bytes = WriteSmf(1, kTicksPerQuarter, tracks, {});
    return song;
}

} // namespace demogen
