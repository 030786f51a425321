#pragma once

#include <QString>

#include <string>

// Texts cross the platform layer as UTF-8 bytes. Bytes that are not valid UTF-8 (a file name the
// file system gave as it was) are shown leniently, each as a replacement character.
QString ToQString(const std::string& text);
std::string ToStdString(const QString& text);

// What a static or a group box shows for a text, by the Windows prefix rule: "&&" shows one "&",
// a single "&" marks the next character as the mnemonic and is not shown itself.
QString WithoutPrefix(const QString& text);

// A window title. Qt replaces an empty title with the application's name; a caption the program
// leaves empty must stay empty, so it becomes a blank.
QString WindowTitle(const std::string& caption);
