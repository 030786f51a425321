#include "platform/qt/Text.h"

QString ToQString(const std::string& text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
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
