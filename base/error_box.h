// The error box: the one way a module reports a failure to the player. It sits below
// the media modules, which report through it; the sound and music modules lend it their
// beep and their wait for the SoundFont through the two hooks below.
#pragma once

// Shows location + " : " + message under the caption "エラー発生", after a beep, and
// writes it to standard error; the text is cut to 255 bytes on a character boundary.
// Texts are UTF-8. Waits first for a SoundFont still being read, so that its failure,
// which came earlier, is reported earlier. Returns 0, which callers pass on as their
// own failure.
int ErrorBox(const char* location, const char* message);
// The error box's tone: the hook's, or the system bell where there is no hook or it
// could not sound.
void Beep();

// With English, the box's caption and the modules' messages it knows are shown in
// English (the story's language; Japanese until set).
void SetErrorBoxEnglish(bool english);

// Registered by the sound module when it starts: plays the error box's tone and returns
// true, or returns false when sound is not ready. nullptr removes it.
void SetBeepHook(bool (*playBeep)());
// Registered by the music module when it starts: waits until a SoundFont still being
// read is read (reporting its failure then). nullptr removes it.
void SetSoundFontWaitHook(void (*awaitSoundFont)());
