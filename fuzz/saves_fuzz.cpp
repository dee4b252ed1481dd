// The save-slot and owlsys.ini readers on any bytes: a loaded position is always a line
// of the script and the message speed one of the menu's levels.
#include <cstdint>
#include <cstdlib>

#include "fuzz/fuzz_support.h"
#include "story/frame.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& dir = fuzz::Folder();
    fuzz::WriteFile(dir + "z_save2.sdt", data, size);
    fuzz::WriteFile(dir + "owlsys.ini", data, size);
    ResetStoryState();
    LoadSlot(2);
    if (CurrentScene().line < 0 || CurrentScene().line > ScriptLineCount - 2) std::abort();
    ReadSystemSettings();
    if (MessageSpeed < 0.0f || MessageSpeed > 5.0f) std::abort();
    return 0;
}
