// The set.ini reader on any bytes, and a write over what it read: a value read is at
// most 63 characters, and what is written reads back.
#include <cstdint>
#include <cstdlib>
#include <filesystem>

#include "fuzz/fuzz_support.h"
#include "story/records/settings.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Folder();
    std::string path = SettingsPath();
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    fuzz::WriteFile(path, data, size);
    if (ReadSetting("st", "sc").size() > 63) std::abort();
    if (!WriteSetting("st", "sc", "abcd") || ReadSetting("st", "sc") != "abcd") std::abort();
    return 0;
}
