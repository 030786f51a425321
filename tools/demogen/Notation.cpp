#include "demogen/Notation.h"

#include <stdexcept>

namespace demogen {
namespace {

// Words are separated by white space; a bar line is a word of its own even when it touches its
// neighbours, as it does where the songs join string literals.
std::vector<std::string_view> SplitWords(std::string_view text) {
    std::vector<std::string_view> words;
    auto isSpace = [](char c) { return c == ' ' || c == '\n' || c == '\t'; };
    std::size_t i = 0;
    while (i < text.size()) {
        while (i < text.size() && isSpace(text[i]))
            ++i;
        const std::size_t begin = i;
        if (i < text.size() && text[i] == '|') {
            ++i;
        } else {
            while (i < text.size() && !isSpace(text[i]) && text[i] != '|')
                ++i;
        }
        if (i > begin)
            words.push_back(text.substr(begin, i - begin));
    }
    return words;
}

[[noreturn]] void Fail(std::string_view what, std::string_view token) {
    throw std::invalid_argument(std::string(what) + ": \"" + std::string(token) + "\"");
}

// Reads a note name with its accidental at `pos`: semitones above the C of the letter's octave
// (-1 for Cb, 12 for B#), or kNoName when there is no note name.
constexpr int kNoName = -100;

int ReadNoteName(std::string_view token, std::size_t& pos) {
    static constexpr int kNatural[7] = {9, 11, 0, 2, 4, 5, 7}; // A B C D E F G
    if (pos >= token.size() || token[pos] < 'A' || token[pos] > 'G')
        return kNoName;
    int pitch = kNatural[token[pos] - 'A'];
    ++pos;
    if (pos < token.size() && token[pos] == '#') {
        ++pitch;
        ++pos;
    } else if (pos < token.size() && token[pos] == 'b') {
        --pitch;
        ++pos;
    }
    return pitch;
}

int ReadPitchClass(std::string_view token, std::size_t& pos) {
    const int pitch = ReadNoteName(token, pos);
    return pitch == kNoName ? -1 : (pitch + 12) % 12;
}

} // namespace

std::uint32_t ParseDuration(std::string_view text) {
    if (text.empty())
        Fail("missing duration", text);
    std::uint32_t ticks = 0;
    switch (text[0]) {
    case 'w':
        ticks = kTicksPerQuarter * 4;
        break;
    case 'h':
        ticks = kTicksPerQuarter * 2;
        break;
    case 'q':
        ticks = kTicksPerQuarter;
        break;
    case 'e':
        ticks = kTicksPerQuarter / 2;
        break;
    case 's':
        ticks = kTicksPerQuarter / 4;
        break;
    default:
        Fail("unknown duration", text);
    }
    if (text.size() == 2 && text[1] == '.')
        return ticks + ticks / 2;
    if (text.size() != 1)
        Fail("unknown duration", text);
    return ticks;
}

Melody ParseMelody(std::string_view text, std::uint32_t barTicks, std::uint32_t start) {
    Melody melody{{}, 0, start};
    std::uint32_t now = start;
    std::uint32_t barStart = start;
    int barNumber = 0;
    bool tieOpen = false;
    for (std::string_view token : SplitWords(text)) {
        if (token == "|") {
            const std::uint32_t filled = now - barStart;
            if (barNumber == 0 && filled < barTicks)
                melody.upbeat = filled;
            else if (filled != barTicks)
                throw std::invalid_argument("bar " + std::to_string(barNumber + 1) + " holds " +
                                            std::to_string(filled) + " ticks instead of " +
                                            std::to_string(barTicks));
            barStart = now;
            ++barNumber;
            continue;
        }
        bool tie = false;
        if (token.back() == '~') {
            tie = true;
            token.remove_suffix(1);
        }
        std::size_t pos = 0;
        int key = -1;
        if (token[0] == 'R') {
            pos = 1;
        } else {
            // The octave belongs to the letter, so B#3 is C4 and Cb4 is B3.
            const int pitch = ReadNoteName(token, pos);
            if (pitch == kNoName || pos >= token.size() || token[pos] < '0' || token[pos] > '9')
                Fail("not a note", token);
            key = (token[pos] - '0' + 1) * 12 + pitch;
            ++pos;
        }
        const std::uint32_t length = ParseDuration(token.substr(pos));
        if (tieOpen) {
            MelodyNote& previous = melody.notes.back();
            if (previous.key != key)
                Fail("a tie joins different pitches", token);
            previous.length += length;
        } else if (key >= 0) {
            melody.notes.push_back(MelodyNote{now, length, key});
        } else if (tie) {
            Fail("a rest cannot be tied", token);
        }
        tieOpen = tie;
        now += length;
    }
    if (tieOpen)
        throw std::invalid_argument("the melody ends in an open tie");
    if (now - barStart > barTicks)
        throw std::invalid_argument("the last bar is too long");
    melody.end = now;
    return melody;
}

std::vector<Chord> ParseChords(std::string_view text, std::uint32_t barTicks, std::uint32_t start) {
    struct Pending {
        std::string_view token;
        std::uint32_t length; // 0 until the bar is divided
    };
    std::vector<Chord> chords;
    std::vector<Pending> bar;
    std::uint32_t barStart = start;

    auto closeBar = [&] {
        if (bar.empty())
            return;
        std::uint32_t given = 0;
        int open = 0;
        for (const Pending& pending : bar) {
            given += pending.length;
            open += pending.length == 0;
        }
        if (given > barTicks || (open == 0 && given != barTicks) ||
            (open > 0 && (barTicks - given) % static_cast<std::uint32_t>(open) != 0))
            throw std::invalid_argument("chord bar at tick " + std::to_string(barStart) + " does not add up");
        std::uint32_t now = barStart;
        for (const Pending& pending : bar) {
            const std::uint32_t length =
                pending.length != 0 ? pending.length : (barTicks - given) / static_cast<std::uint32_t>(open);
            if (pending.token != "N") {
                std::size_t pos = 0;
                const int root = ReadPitchClass(pending.token, pos);
                if (root < 0)
                    Fail("not a chord", pending.token);
                const std::size_t slash = pending.token.find('/', pos);
                const std::string_view quality = pending.token.substr(pos, slash - pos);
                Chord chord{now, length, root, root, {}};
                if (quality.empty())
                    chord.tones = {0, 4, 7};
                else if (quality == "m")
                    chord.tones = {0, 3, 7};
                else if (quality == "7")
                    chord.tones = {0, 4, 7, 10};
                else if (quality == "m7")
                    chord.tones = {0, 3, 7, 10};
                else if (quality == "maj7")
                    chord.tones = {0, 4, 7, 11};
                else if (quality == "dim")
                    chord.tones = {0, 3, 6};
                else if (quality == "6")
                    chord.tones = {0, 4, 7, 9};
                else
                    Fail("unknown chord quality", pending.token);
                if (slash != std::string_view::npos) {
                    std::size_t bassPos = slash + 1;
                    chord.bass = ReadPitchClass(pending.token, bassPos);
                    if (chord.bass < 0 || bassPos != pending.token.size())
                        Fail("bad bass note", pending.token);
                }
                chords.push_back(chord);
            }
            now += length;
        }
        bar.clear();
        barStart += barTicks;
    };

    for (std::string_view token : SplitWords(text)) {
        if (token == "|") {
            closeBar();
            continue;
        }
        const std::size_t colon = token.find(':');
        if (colon == std::string_view::npos)
            bar.push_back({token, 0});
        else
            bar.push_back({token.substr(0, colon), ParseDuration(token.substr(colon + 1))});
    }
    closeBar();
    return chords;
}

std::vector<std::string> ParseLyrics(std::string_view text) {
    std::vector<std::string> syllables;
    std::string prefix; // "/" or "\" waiting for the next syllable
    bool lineStart = true;
    for (std::string_view word : SplitWords(text)) {
        if (word == "/" || word == "\\") {
            prefix = std::string(word);
            lineStart = true;
            continue;
        }
        if (word == "_") {
            syllables.emplace_back();
            continue;
        }
        bool first = true;
        std::size_t begin = 0;
        while (begin <= word.size()) {
            std::size_t end = word.find('-', begin);
            if (end == std::string_view::npos)
                end = word.size();
            std::string syllable(word.substr(begin, end - begin));
            if (syllable.empty())
                Fail("empty syllable", word);
            if (first && !lineStart)
                syllable.insert(0, " ");
            syllable.insert(0, prefix);
            prefix.clear();
            syllables.push_back(std::move(syllable));
            first = false;
            lineStart = false;
            begin = end + 1;
        }
    }
    return syllables;
}

} // namespace demogen
