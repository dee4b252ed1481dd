// The interpreter stepping any script table with any clicks, keys, choices and menu
// actions on the headless backend, through the game's own frame update. The input is
// the script's lines (CP932, one per '\n') up to the first NUL byte, then three bytes
// a frame: what the player does, and where the pointer is.
#include <algorithm>
#include <cstdint>
#include <cstring>
#include <filesystem>

#include "base/frame.h"
#include "base/screen_layout.h"
#include "draw/kaDraw.h"
#include "fuzz/fuzz_support.h"
#include "shell/shell.h"
#include "sound/kaMusic.h"
#include "sound/kaSound.h"
#include "story/frame.h"

static ScriptLine Table[ScriptLineCount];

// The game started over the game folder's assets, as the program starts it.
static void StartOver() {
    static bool copied = false;
    if (!copied) {
        for (auto& entry : std::filesystem::directory_iterator(AKARI_GAME_DIR))
            if (entry.is_regular_file() && entry.path().filename() != "akari")
                std::filesystem::copy_file(entry.path(), fuzz::Folder() + entry.path().filename().string(),
                                           std::filesystem::copy_options::overwrite_existing);
        headless::EnableAudio(true);
        copied = true;
    }
    ResetShellState();
    ResetStoryState();
    StartGame();
}

// Lines up to the first NUL: '/' becomes '_' so that no file: line reaches outside the
// program directory (a picture load writes its signature back into the file).
static size_t ReadTable(const uint8_t* data, size_t size) {
    std::memset(Table, 0, sizeof Table);
    size_t at = 0;
    for (int line = 0; at < size && data[at] != 0 && line < ScriptLineCount; ++line) {
        size_t n = 0;
        for (; at < size && data[at] != 0 && data[at] != '\n'; ++at)
            if (n < ScriptLineBytes - 1) Table[line][n++] = data[at] == '/' ? '_' : char(data[at]);
        if (at < size && data[at] == '\n') ++at;
    }
    while (at < size && data[at] != 0) ++at;
    return at < size ? at + 1 : size;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    fuzz::Folder();
    if (!GameStarted() || Shell.ShutdownDone) StartOver();
    size_t at = ReadTable(data, size);
    UseScriptTable(Table);

    // The story from its first line, with the interface pictures of this run.
    int pictures[InterfacePictureCount];
    std::copy(InterfacePicture, InterfacePicture + InterfacePictureCount, pictures);
    ResetStoryState();
    std::copy(pictures, pictures + InterfacePictureCount, InterfacePicture);
    SetGameMode(ModeStory);
    InputState.LeftClick = 1;

    // 300 frames (five seconds of play) step through hundreds of lines with Ctrl; a frame
    // of large revealed text costs up to 20 ms in this build, and a busy machine slows a
    // low-priority run severalfold, so more would let one input pass a run's timeout.
    for (int frames = 0; at + 3 <= size && frames < 300 && !Shell.ShutdownDone; ++frames, at += 3) {
        uint8_t what = data[at];
        InputState.MouseX = data[at + 1] * layout::ClientWidth / 256;
        InputState.MouseY = data[at + 2] * layout::ClientHeight / 256;
        InputState.LeftClick |= (what & 3) == 1;
        InputState.RightClick = (what & 3) == 2;
        headless::SetKeyDown(plat::KeyCtrl, what & 4);
        headless::SetKeyDown(plat::KeyReturn, what & 8);
        FrameSeconds = float(what >> 4) * 0.016f;
        UpdateGame();
        InputState.LeftClick = InputState.RightClick = 0;
    }

    // What this input loaded goes, so that the tables do not fill over many inputs.
    if (!Shell.ShutdownDone) {
        kaMusic::StopMusic();
        // Every clip, one still sounding too (no audio is pulled here); object 0 stays
        // the music's.
        for (int id = 0; id < kaSound::ObjectCount; ++id) kaSound::ReleaseObject(id);
        int picture = StoryPictureForTest();
        if (picture > kaDraw::FontBufferSprite &&
            std::find(pictures, pictures + InterfacePictureCount, picture) ==
                pictures + InterfacePictureCount)
            kaDraw::ReleaseObject(picture);
        if (InterfacePicture[PicAcross] == 0) Shutdown();  // the logo ran: start over
    }
    UseScriptTable(nullptr);
    return 0;
}
