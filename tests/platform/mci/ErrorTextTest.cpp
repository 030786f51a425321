#include <gtest/gtest.h>

#include <cstring>

#include "platform/mci/Mci.h"
#include "platform/mci/MciExtras.h"

namespace {

// Every code the device can return.
const MCIERROR kCodes[] = {
    MCIERR_INVALID_DEVICE_ID,   MCIERR_UNRECOGNIZED_COMMAND, MCIERR_HARDWARE,
    MCIERR_INVALID_DEVICE_NAME, MCIERR_OUT_OF_MEMORY,        MCIERR_CANNOT_LOAD_DRIVER,
    MCIERR_DRIVER_INTERNAL,     MCIERR_MISSING_PARAMETER,    MCIERR_UNSUPPORTED_FUNCTION,
    MCIERR_FILE_NOT_FOUND,      MCIERR_DEVICE_NOT_READY,     MCIERR_INTERNAL,
    MCIERR_OUTOFRANGE,          MCIERR_FLAGS_NOT_COMPATIBLE, MCIERR_DEVICE_TYPE_REQUIRED,
    MCIERR_BAD_TIME_FORMAT,     MCIERR_INVALID_FILE,         MCIERR_NULL_PARAMETER_BLOCK,
    MCIERR_FILENAME_REQUIRED,   MCIERR_DEVICE_NOT_INSTALLED, MCIERR_SEQ_PORT_NONEXISTENT,
    MCIERR_SEQ_PORT_MISCERROR,  MCIERR_SEQ_NOMIDIPRESENT,    MCIERR_FILE_READ,
    MCIERR_EXTENSION_NOT_FOUND, MCIERR_SEQ_PORT_INUSE,
};

TEST(ErrorText, EveryCodeHasItsOwnTextThatFitsTheBox) {
    std::vector<std::string> seen;
    for (MCIERROR code : kCodes) {
        char buffer[128];
        ASSERT_TRUE(mciGetErrorString(code, buffer, sizeof buffer)) << code;
        const std::size_t length = std::strlen(buffer);
        EXPECT_GT(length, 20u) << code;
        EXPECT_LE(length, 127u) << code;
        EXPECT_EQ(buffer[length - 1], '.') << "a sentence: " << buffer;
        EXPECT_NE(mci::ErrorName(code), nullptr) << code;
        seen.emplace_back(buffer);
    }
    // MCIERR_DRIVER_INTERNAL and MCIERR_INTERNAL say the same thing; every other text is its own.
    std::sort(seen.begin(), seen.end());
    EXPECT_EQ(std::unique(seen.begin(), seen.end()) - seen.begin(), static_cast<long>(seen.size()) - 1);
}

TEST(ErrorText, TheTextsSayWhatToDo) {
    char buffer[128];
    ASSERT_TRUE(mciGetErrorString(MCIERR_SEQ_NOMIDIPRESENT, buffer, sizeof buffer));
    EXPECT_STREQ(buffer, "No General MIDI SoundFont found. Install the package fluid-soundfont-gm.");
    ASSERT_TRUE(mciGetErrorString(MCIERR_HARDWARE, buffer, sizeof buffer));
    EXPECT_NE(std::strstr(buffer, "PulseAudio"), nullptr);
}

TEST(ErrorText, ShortBuffersAndUnknownCodes) {
    char buffer[8];
    std::memset(buffer, 'x', sizeof buffer);
    EXPECT_TRUE(mciGetErrorString(MCIERR_FILE_NOT_FOUND, buffer, 8));
    EXPECT_STREQ(buffer, "The MID");
    EXPECT_FALSE(mciGetErrorString(MCIERR_FILE_NOT_FOUND, buffer, 0));
    EXPECT_FALSE(mciGetErrorString(MCIERR_FILE_NOT_FOUND, nullptr, 8));
    EXPECT_FALSE(mciGetErrorString(12345, buffer, 8));
    EXPECT_STREQ(buffer, "");
    EXPECT_FALSE(mciGetErrorString(0, buffer, 8));
    EXPECT_EQ(mci::ErrorName(12345), nullptr);
}

} // namespace
