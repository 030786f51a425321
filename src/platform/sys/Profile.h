#pragma once

#include "platform/WinTypes.h"

#include <string>
#include <string_view>
#include <vector>

// Private profile (INI) files read and written by the Windows rules: section and key names match
// without regard to ASCII case, values are trimmed of blanks, one pair of surrounding quotes is
// removed, integers are read as far as they are digits. A write replaces the whole file
// atomically (written beside it, then renamed), so a crash never leaves half a file.

// One profile file held in memory: read once, changed key by key, written back in one atomic
// replacement. The free functions below are its one-call forms; code that reads or writes many
// keys at once keeps one of these instead, so the file is read and written once.
class PrivateProfile {
public:
    explicit PrivateProfile(std::string file);
    // A profile read from text rather than a file; Save has nowhere to write it.
    static PrivateProfile FromText(std::string_view text);

    std::string GetString(const std::string& section, const std::string& key, const std::string& defaultValue,
                          std::size_t size = 4096) const;
    UINT GetInt(const std::string& section, const std::string& key, int defaultValue) const;
    void WriteString(const std::string& section, const std::string& key, const std::string& value);
    // The file's text as Save writes it.
    std::string Text() const;
    // Writes the file; false when it cannot be written (the old file then stays as it was).
    bool Save() const;

private:
    std::string m_file;
    bool m_byteOrderMark = false; // written back as it was found
    std::vector<std::string> m_lines;
};

// Reads a value, cut to size - 1 bytes as the Windows function does; the default when the file,
// section or key is missing.
std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& file,
                                    std::size_t size = 4096);

// Reads an integer: the default when the key is missing or its value empty, otherwise the value's
// leading blanks skipped, an optional sign, then decimal digits up to the first other character,
// wrapping modulo 2^32 as the Windows function does; no digits read as 0.
UINT GetPrivateProfileInt(const std::string& section, const std::string& key, int defaultValue,
                          const std::string& file);

// Writes one key, creating the file, its folder and the section as needed, and keeping every
// other line. Returns FALSE when the file cannot be written.
BOOL WritePrivateProfileString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& file);

// Parses an integer text by the rules of GetPrivateProfileInt.
UINT ParseProfileInt(const std::string& text);
