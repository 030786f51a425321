#include "platform/ui/LyricsCtrl.h"

#include <algorithm>

void CLyricsCtrl::SetSungLength(std::size_t bytes) {
    if (bytes == m_sung)
        return;
    m_sung = bytes;
    Notify(ControlChange::Value);
}

void CLyricsCtrl::SetNote(const std::string& note) {
    if (note == m_note)
        return;
    m_note = note;
    Notify(ControlChange::Text);
}

CLyricsCtrl::Place CLyricsCtrl::GetPlace() const {
    const std::string_view text = GetWindowText();
    const std::size_t sung = std::min(m_sung, text.size());
    // The last byte sung, passing back over line ends, so that a syllable that closes its line
    // keeps that line current until the next line's first syllable is sung.
    std::size_t last = sung;
    while (last > 0 && text[last - 1] == '\n')
        --last;
    std::size_t begin = last == 0 ? 0 : text.rfind('\n', last - 1);
    begin = begin == std::string_view::npos || last == 0 ? 0 : begin + 1;
    while (begin < text.size() && text[begin] == '\n')
        ++begin; // text that starts with an empty line
    const std::size_t end = std::min(text.find('\n', begin), text.size());

    Place place;
    place.current = text.substr(begin, end - begin);
    place.sungInCurrent = sung > begin ? std::min(sung, end) - begin : 0;
    std::size_t next = end;
    while (next < text.size() && text[next] == '\n')
        ++next;
    place.nextStartsVerse = next - end > 1;
    place.next = text.substr(next, std::min(text.find('\n', next), text.size()) - next);
    return place;
}
