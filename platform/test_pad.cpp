// The real-window pad test's own pads, built only into that test's program (with
// AKARI_TEST_PAD defined; never into the game): virtual joysticks in the standard
// layout, which SDL hands to the game as pads plugged in, set from the lines the test
// appends to the file the environment's AKARI_TEST_PAD names. A line is one of
//   NAME VALUE  a button by SDL's name (a, b, x, y, leftshoulder, start, dpup, ...) set
//               to 1 or 0, or an axis (leftx, lefty, rightx, righty, lefttrigger,
//               righttrigger) set to -32768 to 32767
//   plug        one more pad, which the lines after it set
//   unplug      the first pad plugged goes
#include <SDL.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "platform/sdl_internal.h"

namespace {

constexpr int MaxTestPads = 4;
SDL_Joystick* Pads[MaxTestPads];  // oldest first; the newest is the one set
int PadCount;
long BytesDone;       // of the file, taken as lines
std::string Partial;  // a line not yet ended

void Plug() {
    if (PadCount == MaxTestPads) return;
    int index = SDL_JoystickAttachVirtual(SDL_JOYSTICK_TYPE_GAMECONTROLLER,
                                          SDL_CONTROLLER_AXIS_MAX, SDL_CONTROLLER_BUTTON_MAX, 0);
    SDL_Joystick* pad = index < 0 ? nullptr : SDL_JoystickOpen(index);
    if (!pad) {
        std::fprintf(stderr, "akari: the test pad cannot be plugged in: %s\n", SDL_GetError());
        return;
    }
    Pads[PadCount++] = pad;
}

void Unplug() {
    if (PadCount == 0) return;
    SDL_JoystickID id = SDL_JoystickInstanceID(Pads[0]);
    SDL_JoystickClose(Pads[0]);
    std::memmove(Pads, Pads + 1, sizeof Pads[0] * size_t(--PadCount));
    for (int i = 0; i < SDL_NumJoysticks(); ++i)
        if (SDL_JoystickGetDeviceInstanceID(i) == id) SDL_JoystickDetachVirtual(i);
}

void Apply(const std::string& line) {
    char name[32];
    int value;
    if (line == "plug") {
        Plug();
    } else if (line == "unplug") {
        Unplug();
    } else if (PadCount > 0 && std::sscanf(line.c_str(), "%31s %d", name, &value) == 2) {
        SDL_Joystick* pad = Pads[PadCount - 1];
        SDL_GameControllerButton button = SDL_GameControllerGetButtonFromString(name);
        SDL_GameControllerAxis axis = SDL_GameControllerGetAxisFromString(name);
        if (button != SDL_CONTROLLER_BUTTON_INVALID)
            SDL_JoystickSetVirtualButton(pad, button, value ? SDL_PRESSED : SDL_RELEASED);
        else if (axis != SDL_CONTROLLER_AXIS_INVALID)
            SDL_JoystickSetVirtualAxis(pad, axis, Sint16(SDL_clamp(value, -32768, 32767)));
        else
            std::fprintf(stderr, "akari: the test pad has no %s\n", name);
    }
}

}  // namespace

namespace sdlplat {

void AttachTestPad() { Plug(); }

// The lines appended since the last call; SDL reports what they change as it would a
// real pad's.
void DriveTestPad() {
    const char* path = std::getenv("AKARI_TEST_PAD");
    FILE* file = path ? std::fopen(path, "rb") : nullptr;
    if (!file) return;
    char buffer[512];
    size_t n;
    if (std::fseek(file, BytesDone, SEEK_SET) == 0) {
        while ((n = std::fread(buffer, 1, sizeof buffer, file)) > 0) {
            BytesDone += long(n);
            Partial.append(buffer, n);
        }
    }
    std::fclose(file);
    for (size_t end; (end = Partial.find('\n')) != std::string::npos; Partial.erase(0, end + 1))
        Apply(Partial.substr(0, end));
}

}  // namespace sdlplat
