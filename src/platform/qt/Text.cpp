#include "platform/qt/Text.h"

#include "platform/sys/Utf8.h"

namespace {

// Windows-1252 for the bytes 0x80..0x9F; the bytes above are Latin-1, which Unicode shares.
const char16_t kCp1252High[32] = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                  0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                  0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                  0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

} // namespace

// File names are bytes; most are UTF-8, but old collections were often named in the Windows
// code page. Valid UTF-8 shows as such and every other byte as its Windows-1252 character, so
// such names stay readable instead of turning into replacement marks.
QString ToQString(const std::string& text) {
    // Each run of valid UTF-8 converts in one piece: a name converted character by character
    // cost more than drawing it.
    QString shown;
    shown.reserve(static_cast<qsizetype>(text.size()));
    for (std::size_t i = 0; i < text.size();) {
        std::size_t run = i;
        while (run < text.size()) {
            std::size_t length = Utf8SequenceLength(text, run);
            if (length == 0)
                break;
            run += length;
        }
        if (run == text.size() && i == 0)
            return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
        shown += QString::fromUtf8(text.data() + i, static_cast<qsizetype>(run - i));
        if (run == text.size())
            break;
        auto byte = static_cast<unsigned char>(text[run]);
        shown += QChar(byte < 0xA0 ? kCp1252High[byte - 0x80] : static_cast<char16_t>(byte));
        i = run + 1;
    }
    return shown;
}

std::string ToStdString(const QString& text) {
    return text.toStdString();
}

QString WithoutPrefix(const QString& text) {
    QString shown;
    shown.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text[i] != u'&') {
            shown += text[i];
            continue;
        }
        // The character after the prefix shows as itself, so "&&" leaves one "&"; a prefix at
        // the very end shows nothing.
        if (++i < text.size())
            shown += text[i];
    }
    return shown;
}

QString WindowTitle(const std::string& caption) {
    return caption.empty() ? QStringLiteral(" ") : ToQString(caption);
}
