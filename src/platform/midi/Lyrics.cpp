#include "platform/midi/Lyrics.h"

#include "platform/midi/KaraokeText.h"
#include "platform/sys/Utf8.h"

#include <algorithm>
#include <limits>
#include <string_view>

namespace midi {

namespace {

// Without karaoke marks, a track counts as carrying words only with this many texts after its
// start: texts at the start are a song's title and credits, not words.
constexpr std::size_t kMinUnmarkedTexts = 4;

bool IsText(const Event& event, std::uint8_t type) {
    return event.IsMeta() && event.data1 == type;
}

std::string Bytes(const Song& song, const Event& event) {
    const auto payload = song.PayloadOf(event);
    return std::string(payload.begin(), payload.end());
}

bool IsMark(char c) {
    return c == '\\' || c == '/';
}

bool IsLineEnd(char c) {
    return c == '\r' || c == '\n';
}

bool IsHeader(const std::string& text) {
    return text.size() >= 2 && text[0] == '@' && text[1] >= 'A' && text[1] <= 'Z';
}

std::vector<const Event*> WordEvents(const Song& song) {
    std::vector<const Event*> words;
    for (const Event& event : song.events) {
        if (IsText(event, meta::kLyric))
            words.push_back(&event);
    }
    if (!words.empty())
        return words;

    const std::size_t tracks = static_cast<std::size_t>(std::max(song.tracksRead, 0));
    std::vector<std::size_t> marked(tracks), later(tracks);
    for (const Event& event : song.events) {
        if (!IsText(event, meta::kText) || event.track >= tracks)
            continue;
        const auto payload = song.PayloadOf(event);
        if (!payload.empty() && IsMark(static_cast<char>(payload[0])))
            ++marked[event.track];
        if (event.tick > 0)
            ++later[event.track];
    }
    std::vector<bool> chosen(tracks);
    if (std::any_of(marked.begin(), marked.end(), [](std::size_t n) { return n > 0; })) {
        for (std::size_t track = 0; track < tracks; ++track)
            chosen[track] = marked[track] > 0;
    } else if (tracks > 0) {
        const auto most = std::max_element(later.begin(), later.end());
        if (*most >= kMinUnmarkedTexts)
            chosen[static_cast<std::size_t>(most - later.begin())] = true;
    }
    for (const Event& event : song.events) {
        if (IsText(event, meta::kText) && event.track < tracks && chosen[event.track])
            words.push_back(&event);
    }
    return words;
}

// Whether a syllable's own text carries a space at its start or end, marks and line ends aside.
bool CarriesSpace(const std::string& text) {
    std::string_view rest = text;
    while (!rest.empty() && IsMark(rest.front()))
        rest.remove_prefix(1);
    while (!rest.empty() && IsLineEnd(rest.back()))
        rest.remove_suffix(1);
    return !rest.empty() && (rest.front() == ' ' || rest.back() == ' ');
}

// Puts the syllables together into lines and verses, keeping where each one ends.
class WordsBuilder {
public:
    enum class Break { None, Line, Verse };

    explicit WordsBuilder(bool addSpaces) : m_addSpaces(addSpaces) {}

    void BreakBefore(Break kind) {
        // Two line ends in a row leave an empty line: the start of a verse.
        if (kind == Break::Verse || (kind == Break::Line && m_pending == Break::Line))
            m_pending = Break::Verse;
        else if (m_pending == Break::None)
            m_pending = kind;
    }

    void Add(std::string_view syllable, std::uint32_t ms) {
        if (syllable.empty())
            return;
        if (m_pending != Break::None && !m_out.text.empty()) {
            TrimLineEnd();
            m_out.text += m_pending == Break::Verse ? "\n\n" : "\n";
            m_lineStart = m_out.text.size();
        }
        m_pending = Break::None;
        std::string& text = m_out.text;
        if (text.size() == m_lineStart) {
            while (!syllable.empty() && syllable.front() == ' ')
                syllable.remove_prefix(1);
        } else if (!syllable.empty()) {
            bool joined = false;
            if (text.back() == '-' && syllable.front() != ' ') {
                ShortenTo(text.size() - 1);
                joined = true;
            } else if (syllable.front() == '-' && text.back() != ' ') {
                syllable.remove_prefix(1);
                joined = true;
            }
            if (!joined && m_addSpaces && text.back() != ' ' && !syllable.empty() && syllable.front() != ' ')
                text += ' ';
        }
        const std::string piece(syllable);
        for (std::size_t at = 0; at < piece.size();) {
            const std::size_t length = Utf8CharacterLength(piece, at);
            text.append(piece, at, length);
            at += length;
            if (text.size() - m_lineStart > Lyrics::kMaxLineBytes)
                Wrap(length);
        }
        if (m_out.syllables.empty() || m_out.syllables.back().end < text.size())
            m_out.syllables.push_back({ms, static_cast<std::uint32_t>(text.size())});
    }

    Lyrics Finish() {
        TrimLineEnd();
        return std::move(m_out);
    }

private:
    void ShortenTo(std::size_t size) {
        m_out.text.resize(size);
        for (auto it = m_out.syllables.rbegin(); it != m_out.syllables.rend() && it->end > size; ++it)
            it->end = static_cast<std::uint32_t>(size);
    }

    void TrimLineEnd() {
        std::size_t size = m_out.text.size();
        while (size > m_lineStart && m_out.text[size - 1] == ' ')
            --size;
        ShortenTo(size);
    }

    // Breaks the line that has just grown too long: at its last space, or else before the
    // character just added (which no syllable end can lie after yet).
    void Wrap(std::size_t lastLength) {
        std::string& text = m_out.text;
        for (std::size_t at = text.size(); at-- > m_lineStart + 1;) {
            if (text[at] == ' ') {
                text[at] = '\n';
                m_lineStart = at + 1;
                return;
            }
        }
        const std::size_t at = text.size() - lastLength;
        text.insert(at, 1, '\n');
        m_lineStart = at + 1;
    }

    bool m_addSpaces;
    Break m_pending = Break::None;
    std::size_t m_lineStart = 0;
    Lyrics m_out;
};

std::uint32_t Milliseconds(std::uint64_t micros) {
    return static_cast<std::uint32_t>(
        std::min<std::uint64_t>(micros / 1000, std::numeric_limits<std::uint32_t>::max()));
}

} // namespace

std::size_t Lyrics::SungLength(std::uint32_t ms) const {
    auto after = std::upper_bound(syllables.begin(), syllables.end(), ms,
                                  [](std::uint32_t time, const Syllable& s) { return time < s.ms; });
    return after == syllables.begin() ? 0 : std::prev(after)->end;
}

Lyrics ReadLyrics(const Song& song) {
    const std::vector<const Event*> events = WordEvents(song);

    // One look at all the syllables decides how they join: with spaces added only when hardly any
    // carries its own.
    std::size_t syllables = 0, spaced = 0;
    for (const Event* event : events) {
        const std::string bytes = Bytes(song, *event);
        if (!IsHeader(bytes)) {
            ++syllables;
            spaced += CarriesSpace(bytes) ? 1 : 0;
        }
    }
    WordsBuilder builder(spaced * 10 < syllables);

    for (const Event* event : events) {
        const std::string bytes = Bytes(song, *event);
        if (IsHeader(bytes))
            continue;
        const std::string text = DecodeKaraokeText(bytes);
        const std::uint32_t ms = Milliseconds(event->micros);
        std::size_t at = 0;
        for (; at < text.size() && IsMark(text[at]); ++at)
            builder.BreakBefore(text[at] == '\\' ? WordsBuilder::Break::Verse : WordsBuilder::Break::Line);
        while (at < text.size()) {
            std::size_t end = at;
            while (end < text.size() && !IsLineEnd(text[end]))
                ++end;
            builder.Add(std::string_view(text).substr(at, end - at), ms);
            if (end == text.size())
                break;
            // "\r\n" ends one line, as "\r" or "\n" alone does.
            end += text.compare(end, 2, "\r\n") == 0 ? 2 : 1;
            builder.BreakBefore(WordsBuilder::Break::Line);
            at = end;
        }
    }
    return builder.Finish();
}

} // namespace midi
