// libFuzzer target for the MIDI reader. Besides surviving any input, a song that comes back must
// be consistent: events in play order with their exact times, payloads inside the payload store,
// memory within the promised multiple of the input, and a tempo map whose inverse agrees with it.

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/midi/KaraokeText.h"
#include "platform/midi/Lyrics.h"
#include "platform/midi/MidiFile.h"

namespace {

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

void CheckSong(const midi::Song& song, std::size_t inputSize) {
    Check(song.events.size() <= inputSize / 2);
    Check(song.payload.size() <= inputSize);
    Check(song.repairs.size() <= midi::Song::kMaxRepairs);
    const midi::Event* previous = nullptr;
    for (const midi::Event& e : song.events) {
        Check(std::uint64_t{e.payloadOffset} + e.payloadSize <= song.payload.size());
        Check(e.track < song.tracksRead);
        Check(e.micros == song.tempo.MicrosAt(e.tick));
        if (previous != nullptr)
            Check(!midi::PlaysBefore(e, *previous));
        previous = &e;
    }
    if (previous != nullptr) {
        Check(song.lengthMicros == previous->micros);
        Check(song.lengthTicks == previous->tick);
        const std::uint64_t tick = song.tempo.TickAtMicros(song.lengthMicros);
        Check(song.tempo.MicrosAt(tick) <= song.lengthMicros);
        Check(tick >= song.lengthTicks);
        (void)song.tempo.FrameAt(song.lengthTicks, 44100);
    }
}

// The words: valid UTF-8 in lines a window can hold, no more of them than the texts hold (a
// Windows-1252 byte takes at most three bytes of UTF-8 and a broken line one more, a syllable at
// most two line ends before it), and syllables in time and text order within the text.
void CheckLyrics(const midi::Song& song) {
    const midi::Lyrics lyrics = midi::ReadLyrics(song);
    Check(lyrics.text.size() <= 4 * song.payload.size() + 2 * lyrics.syllables.size());
    Check(midi::IsValidUtf8(lyrics.text));
    std::size_t lineStart = 0;
    for (std::size_t at = 0; at <= lyrics.text.size(); ++at) {
        if (at == lyrics.text.size() || lyrics.text[at] == '\n') {
            Check(at - lineStart <= midi::Lyrics::kMaxLineBytes);
            lineStart = at + 1;
        }
    }
    const midi::Lyrics::Syllable* previous = nullptr;
    for (const midi::Lyrics::Syllable& syllable : lyrics.syllables) {
        Check(syllable.end <= lyrics.text.size());
        if (previous != nullptr)
            Check(previous->ms <= syllable.ms && previous->end <= syllable.end);
        previous = &syllable;
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto result = midi::ParseMidi(std::span<const std::uint8_t>(data, size));
    if (result.ok()) {
        CheckSong(result.value(), size);
        CheckLyrics(result.value());
    } else {
        Check(result.error().offset <= size || result.error().kind == midi::ReadErrorKind::TooLarge);
        Check(!midi::DescribeReadError(result.error()).empty());
    }
    return 0;
}
