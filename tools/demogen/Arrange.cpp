#include "demogen/Arrange.h"

#include <algorithm>
#include <cmath>
#include <stdexcept>

namespace demogen {
namespace {

const Chord* ChordAt(const std::vector<Chord>& chords, std::uint32_t tick) {
    for (const Chord& chord : chords) {
        if (tick >= chord.start && tick < chord.start + chord.length)
            return &chord;
    }
    return nullptr;
}

int LowestAtOrAbove(int pitchClass, int lowKey) {
    int key = lowKey - ((lowKey % 12) - pitchClass + 12) % 12;
    if (key < lowKey)
        key += 12;
    return key;
}

int Clamp(int velocity) {
    return std::clamp(velocity, 1, 127);
}

template <typename ToneOf>
void PlayPattern(Track& track, const std::vector<Chord>& chords, const Pattern& pattern, int channel,
                 std::uint32_t barTicks, ToneOf toneOf) {
    if (chords.empty())
        return;
    const std::uint32_t first = chords.front().start;
    const std::uint32_t last = chords.back().start + chords.back().length;
    for (std::uint32_t bar = first; bar < last; bar += barTicks) {
        for (const Hit& hit : pattern) {
            const std::uint32_t tick = bar + hit.at;
            const Chord* chord = ChordAt(chords, tick);
            if (chord == nullptr)
                continue;
            const std::uint32_t length = std::min(hit.length, chord->start + chord->length - tick);
            for (int key : toneOf(*chord, hit.tone))
                track.Note(tick, length, channel, key, Clamp(hit.velocity));
        }
    }
}

} // namespace

void SetUp(Track& track, const Instrument& instrument) {
    track.Program(0, instrument.channel, instrument.program);
    track.Control(0, instrument.channel, 7, instrument.volume);
    track.Control(0, instrument.channel, 10, instrument.pan);
    track.Control(0, instrument.channel, 91, instrument.reverb);
}

Track MakeConductor(std::string_view title, std::string_view credit, int beats, int beatUnit, int sharps,
                    bool minor, double quartersPerMinute) {
    Track track(title);
    track.Text(0, credit);
    track.TimeSignature(0, beats, beatUnit);
    track.KeySignature(0, sharps, minor);
    track.Tempo(0, quartersPerMinute);
    return track;
}

void PlayMelody(Track& track, const Melody& melody, const Phrasing& phrasing, std::uint32_t barTicks,
                std::uint32_t beatTicks, std::uint32_t firstBar) {
    for (const MelodyNote& note : melody.notes) {
        // Position in the bar, counted from a bar line so that the upbeat lands at the bar's end.
        const std::uint32_t inBar = (note.start + barTicks - firstBar % barTicks) % barTicks;
        int velocity = phrasing.velocity;
        if (inBar == 0)
            velocity += phrasing.accent;
        else if (inBar % beatTicks != 0)
            velocity -= 5;
        // Keep a short gap between notes so that repeated notes are heard as two, but never cut a
        // note by more than a sixteenth.
        const auto gap = std::min<std::uint32_t>(
            static_cast<std::uint32_t>(std::lround(note.length * (1.0 - phrasing.legato))),
            kTicksPerQuarter / 4);
        track.Note(note.start, note.length - gap, phrasing.channel, note.key + phrasing.transpose,
                   Clamp(velocity));
    }
}

std::vector<int> Voicing(const Chord& chord, int lowKey, int count) {
    std::vector<int> keys;
    for (int key = lowKey; static_cast<int>(keys.size()) < count; ++key) {
        const int interval = ((key % 12) - chord.root + 12) % 12;
        if (std::find(chord.tones.begin(), chord.tones.end(), interval) != chord.tones.end())
            keys.push_back(key);
    }
    return keys;
}

Pattern Arpeggio(std::uint32_t at, std::uint32_t step, std::uint32_t length, const std::vector<int>& tones,
                 int velocity) {
    Pattern pattern;
    for (int tone : tones) {
        pattern.push_back(Hit{at, length, tone, velocity});
        at += step;
    }
    return pattern;
}

void PlayChords(Track& track, const std::vector<Chord>& chords, const Pattern& pattern, int channel,
                int lowKey, int voices, std::uint32_t barTicks) {
    PlayPattern(track, chords, pattern, channel, barTicks, [&](const Chord& chord, int tone) {
        std::vector<int> keys = Voicing(chord, lowKey, voices);
        if (tone < 0)
            return keys;
        if (tone >= static_cast<int>(keys.size()))
            throw std::invalid_argument("pattern tone beyond the voicing");
        return std::vector<int>{keys[static_cast<std::size_t>(tone)]};
    });
}

void PlayBass(Track& track, const std::vector<Chord>& chords, const Pattern& pattern, int channel, int lowKey,
              std::uint32_t barTicks) {
    PlayPattern(track, chords, pattern, channel, barTicks, [&](const Chord& chord, int tone) {
        const int bass = LowestAtOrAbove(chord.bass, lowKey);
        const int root = LowestAtOrAbove(chord.root, bass);
        switch (tone) {
        case 0:
            return std::vector<int>{bass};
        case 1:
            return std::vector<int>{root + 7};
        case 2:
            return std::vector<int>{root + chord.tones[1]};
        case 3:
            return std::vector<int>{bass + 12};
        case 4:
            return std::vector<int>{root - 5};
        default:
            throw std::invalid_argument("unknown bass tone");
        }
    });
}

void PlaySustained(Track& track, const std::vector<Chord>& chords, int channel, int lowKey, int voices,
                   int velocity) {
    for (const Chord& chord : chords) {
        for (int key : Voicing(chord, lowKey, voices))
            track.Note(chord.start, chord.length, channel, key, Clamp(velocity));
    }
}

void PlaceLyrics(Track& track, const Melody& melody, const std::vector<std::string>& syllables) {
    if (syllables.size() != melody.notes.size())
        throw std::invalid_argument("the lyrics have " + std::to_string(syllables.size()) +
                                    " syllables for " + std::to_string(melody.notes.size()) + " notes");
    for (std::size_t i = 0; i < syllables.size(); ++i) {
        if (!syllables[i].empty())
            track.Lyric(melody.notes[i].start, syllables[i]);
    }
}

void Ritardando(Track& conductor, std::uint32_t from, std::uint32_t to, double fromTempo, double toTempo) {
    const std::uint32_t step = kTicksPerQuarter / 2;
    for (std::uint32_t tick = from; tick <= to; tick += step) {
        const double share = to == from ? 1.0 : static_cast<double>(tick - from) / (to - from);
        conductor.Tempo(tick, fromTempo + (toTempo - fromTempo) * share);
    }
}

} // namespace demogen
