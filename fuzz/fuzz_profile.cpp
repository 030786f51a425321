// libFuzzer target for the profile reader. Besides surviving any text, a profile must keep what
// it was told: a key written reads back as written, the other settings read as before, and the
// text it would save reads back to the same values.

#include "platform/sys/Profile.h"

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace {

void Check(bool condition) {
    if (!condition)
        __builtin_trap();
}

const char* const kSection = "SHFConfig";
const char* const kKeys[] = {"Autoplay",        "Intro",      "IntroLength", "PlayStile",  "Subfolders",
                             "AllowRepetition", "SaveFolder", "RunHidden",   "SCInitMode", "SCInitFile",
                             "DeleteFolder",    "UseTaglist", "SoundFont"};

struct Values {
    std::string strings[std::size(kKeys)];
    UINT numbers[std::size(kKeys)];
};

Values Read(const PrivateProfile& profile) {
    Values values;
    for (std::size_t i = 0; i < std::size(kKeys); ++i) {
        values.strings[i] = profile.GetString(kSection, kKeys[i], "default");
        values.numbers[i] = profile.GetInt(kSection, kKeys[i], 7);
    }
    return values;
}

bool Same(const Values& a, const Values& b, std::size_t except) {
    for (std::size_t i = 0; i < std::size(kKeys); ++i) {
        if (i != except && (a.strings[i] != b.strings[i] || a.numbers[i] != b.numbers[i]))
            return false;
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    PrivateProfile profile = PrivateProfile::FromText(text);
    Values before = Read(profile);

    // The last byte chooses the key to write, so that every key and every place in the file is
    // tried; the value is one the program writes (no blanks or quotes at its ends).
    std::size_t key = size == 0 ? 0 : data[size - 1] % std::size(kKeys);
    const std::string value = "/home/u/Mid i/" + std::to_string(size);
    profile.WriteString(kSection, kKeys[key], value);
    Values after = Read(profile);
    Check(after.strings[key] == value);
    Check(Same(before, after, key));

    PrivateProfile again = PrivateProfile::FromText(profile.Text());
    Values reread = Read(again);
    Check(Same(after, reread, std::size(kKeys)));
    return 0;
}
