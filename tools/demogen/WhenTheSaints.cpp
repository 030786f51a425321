#include "demogen/Arrange.h"
#include "demogen/Songs.h"

// "When the Saints Go Marching In" (American spiritual), in F major as a small Dixieland band:
// trumpet lead, trombone, clarinet on the second chorus, tuba, banjo and a swung drum kit on
// channel 10. A count-in bar, two choruses and a slowed final chord.

namespace demogen {
namespace {

constexpr std::uint32_t kBeat = kTicksPerQuarter;
constexpr std::uint32_t kBar = 4 * kBeat;
constexpr std::uint32_t kSwung = kBeat * 2 / 3; // the second eighth of a swung pair
constexpr int kDrums = 9;                       // channel 10

enum DrumKey {
    kKick = 36,
    kSideStick = 37,
    kSnare = 38,
    kClosedHat = 42,
    kPedalHat = 44,
    kCrash = 49,
    kRide = 51
};

void Drum(Track& track, std::uint32_t tick, int key, int velocity) {
    track.Note(tick, 60, kDrums, key, velocity);
}

// One bar of a two-beat groove: kick on one and three, the backbeat on two and four, the ride
// cymbal's "ding, ding-a ding, ding-a".
void Groove(Track& track, std::uint32_t bar, int backbeat) {
    for (std::uint32_t beat = 0; beat < 4; ++beat) {
        const std::uint32_t tick = bar + beat * kBeat;
        Drum(track, tick, kRide, beat % 2 == 0 ? 62 : 56);
        if (beat % 2 == 0) {
            Drum(track, tick, kKick, 72);
        } else {
            Drum(track, tick, backbeat, 60);
            Drum(track, tick, kPedalHat, 50);
            Drum(track, tick + kSwung, kRide, 46);
        }
    }
}

} // namespace

SongFile WhenTheSaints() {
    constexpr std::uint32_t kChorusBars = 16;
    constexpr std::uint32_t kChorus1 = kBar;
    constexpr std::uint32_t kChorus2 = kChorus1 + kChorusBars * kBar;
    constexpr std::uint32_t kLastBar = kChorus2 + (kChorusBars - 1) * kBar;

    const std::string_view chorus = "Rq F4q A4q Bb4q | C5w | Rq F4q A4q Bb4q | C5w |"
                                    "Rq F4q A4q Bb4q | C5h A4h | F4h A4h | G4w |"
                                    "Rq A4q A4q G4q | F4h. F4q | A4h C5h | C5h Bb4h |"
                                    "Bb4h A4q Bb4q | C5h A4h | F4h G4h | F4w";
    // The chorus's chords without its last bar: the first chorus ends on F, the second on one held
    // chord of the whole band.
    const std::string changes = "F | F | F | F | F | F | F | C7 | F | F | F7 | Bb | Bb | F | F C7 |";
    const std::vector<Chord> chords = ParseChords(changes + "F |" + changes, kBar, kChorus1);
    const std::vector<Chord> last = ParseChords("F", kBar, kLastBar);

    Track conductor = MakeConductor("When the Saints Go Marching In",
                                    "Traditional American spiritual, public domain; encoded for Shufflon", 4,
                                    4, -1, false, 168);
    conductor.SysEx(0, {0x7E, 0x7F, 0x09, 0x01, 0xF7}); // General MIDI system on
    Ritardando(conductor, kLastBar - kBar, kLastBar, 168, 108);
    conductor.EndAtLeast(kLastBar + kBar + 2 * kBeat);

    Track trumpet("Trumpet");
    SetUp(trumpet, {0, 56, 100, 60, 45});
    Track clarinet("Clarinet");
    SetUp(clarinet, {3, 71, 84, 88, 50});
    for (std::uint32_t start : {kChorus1, kChorus2}) {
        const Melody melody = ParseMelody(chorus, kBar, start);
        PlayMelody(trumpet, melody, {0, start == kChorus1 ? 88 : 96, 0.9}, kBar, kBeat, 0);
        if (start == kChorus2)
            PlayMelody(clarinet, melody, {3, 72, 0.85, 12}, kBar, kBeat, 0);
    }

    // The trombone moves between the chords' thirds and roots in half notes.
    Track trombone("Trombone");
    SetUp(trombone, {1, 57, 84, 40, 45});
    PlayChords(trombone, chords, {{0, 2 * kBeat - 40, 1, 66}, {2 * kBeat, 2 * kBeat - 40, 0, 60}}, 1, 52, 2,
               kBar);
    PlayChords(trombone, last, {{0, kBar, 1, 72}}, 1, 52, 2, kBar);

    Track tuba("Tuba");
    SetUp(tuba, {2, 58, 96, 64, 35});
    PlayBass(tuba, chords, {{0, kBeat + kBeat / 2, 0, 80}, {2 * kBeat, kBeat + kBeat / 2, 4, 72}}, 2, 36,
             kBar);
    PlayBass(tuba, last, {{0, kBar, 0, 84}}, 2, 36, kBar);

    Track banjo("Banjo");
    SetUp(banjo, {4, 105, 80, 80, 40});
    PlayChords(banjo, chords, {{kBeat, kBeat / 2, -1, 64}, {3 * kBeat, kBeat / 2, -1, 64}}, 4, 55, 3, kBar);
    PlayChords(banjo, last, {{0, kBar, -1, 72}}, 4, 55, 3, kBar);

    Track drums("Drums");
    SetUp(drums, {kDrums, 0, 96, 64, 40});
    for (std::uint32_t beat = 0; beat < 4; ++beat)
        Drum(drums, beat * kBeat, kSideStick, beat == 0 ? 76 : 64); // count-in
    for (std::uint32_t bar = kChorus1; bar < kLastBar; bar += kBar) {
        const bool lastOfChorus1 = bar == kChorus2 - kBar;
        if (lastOfChorus1) {
            // A snare fill leads into the second chorus.
            Drum(drums, bar, kKick, 72);
            Drum(drums, bar, kRide, 62);
            for (std::uint32_t beat = 1; beat < 4; ++beat) {
                Drum(drums, bar + beat * kBeat, kSnare, 58 + 6 * static_cast<int>(beat));
                Drum(drums, bar + beat * kBeat + kSwung, kSnare, 50 + 6 * static_cast<int>(beat));
            }
            continue;
        }
        Groove(drums, bar, bar < kChorus2 ? kSideStick : kSnare);
    }
    Drum(drums, kChorus2, kCrash, 88);
    Drum(drums, kLastBar, kCrash, 96);
    Drum(drums, kLastBar, kKick, 90);

    SongFile song{"When the Saints Go Marching In.mid", {}};
    song.bytes = WriteSmf(1, kTicksPerQuarter, {conductor, trumpet, trombone, tuba, clarinet, banjo, drums},
                          {true, false});
    return song;
}

} // namespace demogen
