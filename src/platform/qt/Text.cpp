#include "platform/qt/Text.h"

#include "platform/sys/Utf8.h"

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
        shown += QChar(static_cast<char16_t>(Windows1252Character(byte)));
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
