#pragma once

// The words of a karaoke song and when each syllable is sung.
//
// Where the words are: in lyric events (FF 05) when the song has any, else in the text events
// (FF 01) of the tracks that carry the karaoke marks ("\" and "/"), or failing those of the one
// track with the most texts spread over the song. Texts that start with '@' and a capital letter
// ("@T" title, "@I" information, "@L" language, "@K", "@V") describe the file and are not words.
//
// How they read: "\" before a syllable starts a verse and "/" a line, as do carriage returns and
// line feeds. Syllables join as the file writes them: most files carry the space between words on
// the syllables themselves ("Ma" "ry " "had " or "Ma" "ry" " had"); files that carry none put one
// syllable or word in each event and a hyphen where a word goes on ("Ma-" "ry" "had"), and get a
// space between words here. A hyphen that joins two syllables is not shown.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/midi/MidiFile.h"

namespace midi {

struct Lyrics {
    // Lines longer than this many bytes are broken, at a space where there is one: a file with one
    // endless text must still show as lines a window can hold.
    static constexpr std::size_t kMaxLineBytes = 240;

    struct Syllable {
        std::uint32_t ms = 0;  // when it is sung
        std::uint32_t end = 0; // the byte of `text` just after it
    };

    // The words as UTF-8: lines separated by '\n', an empty line before each verse but the first.
    std::string text;
    // In the order they are sung; neither their times nor their ends ever go back.
    std::vector<Syllable> syllables;

    // The length of the text sung by the time given: up to the end of the last syllable that
    // starts then or before.
    std::size_t SungLength(std::uint32_t ms) const;
};

Lyrics ReadLyrics(const Song& song);

} // namespace midi
