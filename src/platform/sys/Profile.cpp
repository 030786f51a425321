#include "platform/sys/Profile.h"

#include "platform/sys/AtomicFile.h"

#include <fstream>
#include <optional>
#include <string_view>
#include <vector>

namespace {

// Files larger than this are not profiles anyone wrote; they read as empty rather than being
// pulled into memory.
constexpr std::size_t kMaxProfileBytes = 16 * 1024 * 1024;

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\f' || c == '\v';
}

std::string Trim(const std::string& text) {
    std::size_t begin = 0, end = text.size();
    while (begin < end && IsBlank(text[begin]))
        ++begin;
    while (end > begin && IsBlank(text[end - 1]))
        --end;
    return text.substr(begin, end - begin);
}

bool EqualNoCase(const std::string& a, const std::string& b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t i = 0; i < a.size(); ++i) {
        auto fold = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; };
        if (fold(a[i]) != fold(b[i]))
            return false;
    }
    return true;
}

constexpr char kByteOrderMark[] = "\xEF\xBB\xBF";

// Editors on other systems start UTF-8 files with a byte-order mark; it is taken off the first
// line, or that line's section would not be recognised, and `bom` says it was there.
std::vector<std::string> SplitLines(std::string_view text, bool& bom) {
    bom = false;
    std::vector<std::string> lines;
    while (!text.empty()) {
        std::size_t end = text.find('\n');
        std::string line(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (lines.empty() && line.compare(0, 3, kByteOrderMark) == 0) {
            line.erase(0, 3);
            bom = true;
        }
        lines.push_back(std::move(line));
    }
    return lines;
}

std::string ReadText(const std::string& file) {
    std::ifstream in(file, std::ios::binary);
    if (!in)
        return {};
    in.seekg(0, std::ios::end);
    auto size = in.tellg();
    if (size < 0 || static_cast<std::size_t>(size) > kMaxProfileBytes)
        return {};
    in.seekg(0);
    std::string text(static_cast<std::size_t>(size), '\0');
    in.read(text.data(), size);
    text.resize(static_cast<std::size_t>(in.gcount()));
    return text;
}

// "[name]" with blanks allowed around; text after the closing bracket is ignored.
std::optional<std::string> SectionName(const std::string& line) {
    std::string trimmed = Trim(line);
    if (trimmed.empty() || trimmed[0] != '[')
        return std::nullopt;
    std::size_t close = trimmed.find(']');
    return Trim(trimmed.substr(1, close == std::string::npos ? std::string::npos : close - 1));
}

bool IsComment(const std::string& line) {
    std::string trimmed = Trim(line);
    return !trimmed.empty() && trimmed[0] == ';';
}

// The key of a "key=value" line (or of a line without '=', which is a key with no value).
std::string KeyOf(const std::string& line) {
    return Trim(line.substr(0, line.find('=')));
}

std::optional<std::string> FindValue(const std::vector<std::string>& lines, const std::string& section,
                                     const std::string& key) {
    bool inSection = false;
    for (const std::string& line : lines) {
        if (auto name = SectionName(line)) {
            inSection = EqualNoCase(*name, section);
            continue;
        }
        if (!inSection || IsComment(line) || Trim(line).empty())
            continue;
        if (EqualNoCase(KeyOf(line), key)) {
            std::size_t equals = line.find('=');
            std::string value = equals == std::string::npos ? std::string() : Trim(line.substr(equals + 1));
            if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
                value.back() == value.front())
                value = value.substr(1, value.size() - 2);
            return value;
        }
    }
    return std::nullopt;
}

} // namespace

PrivateProfile::PrivateProfile(std::string file) : m_file(std::move(file)) {
    m_lines = SplitLines(ReadText(m_file), m_byteOrderMark);
}

PrivateProfile PrivateProfile::FromText(std::string_view text) {
    PrivateProfile profile{std::string()};
    profile.m_lines = SplitLines(text, profile.m_byteOrderMark);
    return profile;
}

std::string PrivateProfile::GetString(const std::string& section, const std::string& key,
                                      const std::string& defaultValue, std::size_t size) const {
    std::optional<std::string> value = FindValue(m_lines, section, key);
    std::string result = value ? *value : defaultValue;
    if (size == 0)
        return std::string();
    if (result.size() > size - 1)
        result.resize(size - 1);
    return result;
}

UINT PrivateProfile::GetInt(const std::string& section, const std::string& key, int defaultValue) const {
    std::optional<std::string> value = FindValue(m_lines, section, key);
    if (!value || value->empty())
        return static_cast<UINT>(defaultValue);
    return ParseProfileInt(*value);
}

void PrivateProfile::WriteString(const std::string& section, const std::string& key,
                                 const std::string& value) {
    std::vector<std::string>& lines = m_lines;
    std::string entry = key + "=" + value;
    bool inSection = false;
    std::optional<std::size_t> sectionEnd; // one past the last non-blank line of the section
    bool written = false;
    for (std::size_t i = 0; i < lines.size() && !written; ++i) {
        if (auto name = SectionName(lines[i])) {
            if (inSection)
                break;
            inSection = EqualNoCase(*name, section);
            if (inSection)
                sectionEnd = i + 1;
            continue;
        }
        if (!inSection)
            continue;
        if (!Trim(lines[i]).empty())
            sectionEnd = i + 1;
        if (!IsComment(lines[i]) && !Trim(lines[i]).empty() && EqualNoCase(KeyOf(lines[i]), key)) {
            lines[i] = entry;
            written = true;
        }
    }
    if (!written) {
        if (sectionEnd) {
            lines.insert(lines.begin() + static_cast<std::ptrdiff_t>(*sectionEnd), entry);
        } else {
            lines.push_back("[" + section + "]");
            lines.push_back(entry);
        }
    }
}

std::string PrivateProfile::Text() const {
    std::string text = m_byteOrderMark ? kByteOrderMark : "";
    for (const std::string& line : m_lines)
        text.append(line).append(1, '\n');
    return text;
}

bool PrivateProfile::Save() const {
    return WriteFileAtomically(m_file, Text());
}

UINT ParseProfileInt(const std::string& text) {
    std::size_t i = 0;
    while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ')
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
        negative = text[i] == '-';
        ++i;
    }
    std::uint32_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = value * 10u + static_cast<std::uint32_t>(text[i] - '0');
    return negative ? 0u - value : value;
}

std::string GetPrivateProfileString(const std::string& section, const std::string& key,
                                    const std::string& defaultValue, const std::string& file,
                                    std::size_t size) {
    return PrivateProfile(file).GetString(section, key, defaultValue, size);
}

UINT GetPrivateProfileInt(const std::string& section, const std::string& key, int defaultValue,
                          const std::string& file) {
    return PrivateProfile(file).GetInt(section, key, defaultValue);
}

BOOL WritePrivateProfileString(const std::string& section, const std::string& key, const std::string& value,
                               const std::string& file) {
    PrivateProfile profile(file);
    profile.WriteString(section, key, value);
    return profile.Save() ? TRUE : FALSE;
}
