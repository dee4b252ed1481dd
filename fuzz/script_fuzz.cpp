// The script tool on any source text, beside the story's picture, cast, music, voice and
// effect lists as in data/: it refuses the script or writes a table, and a table it
// writes holds only lines the engine can read (at most 399 bytes each).
#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "fuzz/fuzz_support.h"

int ScriptToolMain(int argc, char** argv);

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool listsCopied = [] {
        for (const char* list : {"pictures.txt", "picture_cast.txt", "music.txt", "voices.txt", "effects.txt"})
            std::filesystem::copy_file(std::string(AKARI_DATA_DIR) + "/" + list, fuzz::Folder() + list,
                                       std::filesystem::copy_options::overwrite_existing);
        return true;
    }();
    (void)listsCopied;
    std::string source = fuzz::Folder() + "script.txt", table = fuzz::Folder() + "table.cpp";
    fuzz::WriteFile(source, data, size);
    std::remove(table.c_str());
    char* argv[] = {const_cast<char*>("akari_script_tool"), source.data(), table.data(), nullptr};
    int status = ScriptToolMain(3, argv);
    bool written = std::ifstream(table).good();
    if (status != 0 && status != 1) std::abort();
    if ((status == 0) != written) std::abort();
    return 0;
}
