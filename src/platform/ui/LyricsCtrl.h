#pragma once

#include "platform/ui/Control.h"

#include <cstddef>
#include <string>
#include <string_view>

// The words of a song as a karaoke screen shows them: its window text holds all the words (lines
// separated by '\n', an empty line between verses), and the sung length says how many bytes of it
// have been sung. Its view shows the line being sung with the part already sung marked, and the
// line that follows it; while there are no words it shows the note instead.
class CLyricsCtrl : public CControl {
public:
    using CControl::CControl;

    void SetSungLength(std::size_t bytes);
    std::size_t GetSungLength() const { return m_sung; }
    void SetNote(const std::string& note);
    const std::string& GetNote() const { return m_note; }

    // The line being sung: the one that holds the last byte sung, or the first line before
    // anything is. The next line is the first line with words after it.
    struct Place {
        std::string_view current;
        std::size_t sungInCurrent = 0; // bytes of `current` sung
        std::string_view next;
        bool nextStartsVerse = false;
    };
    Place GetPlace() const;

private:
    std::size_t m_sung = 0;
    std::string m_note;
};
