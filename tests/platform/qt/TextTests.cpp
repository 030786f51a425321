#include "platform/qt/Text.h"

#include <gtest/gtest.h>

namespace {

TEST(Text, FileNamesThatAreNotUtf8StayReadable) {
    EXPECT_EQ(ToQString("Caf\xc3\xa9.mid"), QString::fromUtf8("Café.mid"));
    // Latin-1 / Windows-1252 bytes of an old collection.
    EXPECT_EQ(ToQString("Caf\xe9.mid"), QString::fromUtf8("Café.mid"));
    EXPECT_EQ(ToQString("\x93quoted\x94"), QString::fromUtf8("“quoted”"));
    // A lead byte without its continuation, an overlong form and a surrogate are not UTF-8.
    EXPECT_EQ(ToQString("a\xc3"), QString::fromUtf8("aÃ"));
    EXPECT_EQ(ToQString("\xc0\xaf"), QString::fromUtf8("À¯"));
    EXPECT_EQ(ToQString("\xed\xa0\x80").size(), 3);
    EXPECT_EQ(ToQString("\xf0\x9f\x8e\xb5"), QString::fromUtf8("🎵"));
}

} // namespace
