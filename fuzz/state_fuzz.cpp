// The state file's reader on any bytes, as a slot's state and as the resume point, and
// the story run for a few seconds on whatever it lets through. The first byte chooses the
// form: odd, the rest is a state's fields from its save line to its preview, made into a
// whole file (its kind and the shipped table's hash before, a black preview and the hash
// of it all after) so that mutations reach the fields' checks; even, the rest is the file
// as it stands. The slot's save line names the line the fields give.
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "base/frame.h"
#include "base/hash.h"
#include "base/little_endian.h"
#include "draw/kaDraw.h"
#include "fuzz/fuzz_support.h"
#include "shell/shell.h"
#include "sound/kaMusic.h"
#include "story/frame.h"

// The body with its hash after it, as the file's last eight bytes hold it.
static std::string Signed(const std::string& body) {
    const uint64_t h = HashBytes(body.data(), body.size());
    std::string whole = body;
    for (int i = 0; i < 8; ++i) whole += char(h >> (8 * i));
    return whole;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string& dir = fuzz::Folder();
    static bool started = false;
    if (!started) {  // the story's pictures and music, as the states name them
        for (auto& entry : std::filesystem::directory_iterator(AKARI_GAME_DIR))
            if (entry.is_regular_file() && entry.path().filename() != "akari")
                std::filesystem::copy_file(entry.path(), dir + entry.path().filename().string(),
                                           std::filesystem::copy_options::overwrite_existing);
        OpenMedia(layout::BackBufferWidth, layout::BackBufferHeight, 1);
        MarkGameStartedForTest();
        started = true;
    }
    if (size == 0) return 0;
    std::string rest(reinterpret_cast<const char*>(data) + 1, size - 1), file = rest;
    if (data[0] & 1) {
        uint64_t table = ScriptTableHash();
        std::string head = "AKSTATE3";
        for (int i = 0; i < 8; ++i) head += char(table >> (8 * i));
        file = Signed(head + rest + std::string(PreviewBytes, '\0'));
    }
    // The line the fields give, where the save line's kind puts it, for the slot's files.
    size_t lineAt = (data[0] & 1) ? SaveLineBytes : 16 + SaveLineBytes;
    const uint8_t* bytes = reinterpret_cast<const uint8_t*>(file.data());
    int line = file.size() >= lineAt + 4 ? int(Read32(bytes + lineAt)) : 6;
    if (line < 1 || line > ScriptLineCount - 2) line = 6;
    std::string saveLine = "01,040,001,001,001," + std::to_string(line);
    if (data[0] & 1) saveLine.assign(rest.c_str(), strnlen(rest.c_str(), SaveLineBytes - 1));
    for (auto& entry : std::filesystem::directory_iterator(dir))
        if (entry.path().extension() == ".state") std::filesystem::remove(entry.path());
    fuzz::WriteFile(dir + "z_save2.sdt", reinterpret_cast<const uint8_t*>(saveLine.data()), saveLine.size());
    std::string stateName = dir + "z_save2." + std::to_string(line) + ".0.state";
    fuzz::WriteFile(stateName, reinterpret_cast<const uint8_t*>(file.data()), file.size());
    fuzz::WriteFile(dir + "z_resume.state", reinterpret_cast<const uint8_t*>(file.data()), file.size());

    for (int slot : {2, ResumePoint}) {
        ResetStoryState();
        SetGameMode(ModeStory);
        if (LoadSlot(slot) && (CurrentScene().line < 1 || CurrentScene().line > ScriptLineCount - 2)) std::abort();
        for (int frame = 0; frame < 2; ++frame) {  // the animation ticks at most once a frame
            FrameSeconds = 0.5f;
            UpdateGame();
        }
        // What the load took goes, so that the tables do not fill over many inputs.
        if (StoryPictureForTest() > kaDraw::FontBufferSprite) kaDraw::ReleaseObject(StoryPictureForTest());
        kaMusic::StopMusic();
    }
    return 0;
}
