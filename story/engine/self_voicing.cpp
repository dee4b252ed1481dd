// Self-voicing: with the mode on, the narrator speaks what the screen says. A prose line
// with no voice clip of its own is narrated as it is shown, as its voice; the items of
// the screens are spoken as the pointer reaches them, and notices and switches as they
// happen. Everything spoken is a clip the build made in speech/, or with English in
// force in en/; a missing one is silence. With the mode off nothing here loads or plays anything.
#include <string>
#include <vector>

#include "sound/kaSound.h"
#include "story/engine/engine.h"

namespace {

// The phrase sounding, -1 for none: one at a time, each cuts the one before.
int PhraseId = -1;
// The clips to say after it, in turn.
std::vector<std::string> Following;

// The items the pointer was found on in this frame and in the last, as screen and index
// in one number; an item newly under it is spoken once.
constexpr int ReachedMost = 8, ItemsPerScreen = 1000;
int ReachedNow[ReachedMost], ReachedBefore[ReachedMost];
int ReachedNowCount = 0, ReachedBeforeCount = 0;

// The mode whose screen was last announced (the notice and the title say theirs).
int AnnouncedMode = ModeLogo;

bool Holds(const int* items, int count, int item) {
    for (int i = 0; i < count; ++i)
        if (items[i] == item) return true;
    return false;
}

void StopPhrase() {
    if (PhraseId < 0) return;
    kaSound::Stop(PhraseId, -1);
    kaSound::ReleaseObject(PhraseId);
    PhraseId = -1;
}

// The clip (a speech/ clip, or a voice's WAVE file) replaces whatever speaks on the
// voice channel: the last phrase and the story's voice.
void Play(const std::string& clip) {
    StopPhrase();
    if (VoiceId >= 0) kaSound::Stop(VoiceId, -1);
    bool opus = clip.size() > 5 && clip.compare(clip.size() - 5, 5, ".opus") == 0;
    PhraseId = opus ? kaSound::LoadOpusObject(clip.c_str(), 1) : kaSound::LoadObject(clip.c_str(), 1);
    kaSound::Play(PhraseId, -1);
}

void Speak(const std::string& clip) {
    Following.clear();
    Play(clip);
}

std::string PhraseClip(const char* id) {
    return (EnglishInForce() ? "en/" : "speech/") + std::string(id) + ".opus";
}

}  // namespace

void ResetSelfVoicing() {
    PhraseId = -1;
    Following.clear();
    ReachedNowCount = ReachedBeforeCount = 0;
    AnnouncedMode = ModeLogo;
}

bool SelfVoicingOn() { return Preferences.SelfVoicing; }

void ToggleSelfVoicing() {
    Preferences.SelfVoicing = !Preferences.SelfVoicing;
    SavePreferences();
    // Spoken either way, so that the listener hears the mode go off too.
    Speak(PhraseClip(Preferences.SelfVoicing ? "voicing_on" : "voicing_off"));
}

void SpeakPhrase(const char* id) {
    if (SelfVoicingOn()) Speak(PhraseClip(id));
}

void SpeakLineClip(const char* text) {
    if (SelfVoicingOn()) Speak(kaSound::SpeechClipName(text, EnglishInForce()));
}

void SpeakPhraseNext(const char* id) {
    if (SelfVoicingOn()) Following.push_back(PhraseClip(id));
}

void SpeakClipNext(const char* clip) {
    if (SelfVoicingOn()) Following.push_back(clip);
}

void StopSpeaking() {
    Following.clear();
    StopPhrase();
}

float PhraseSecondsLeft() { return PhraseId >= 0 ? kaSound::SecondsLeft(PhraseId) : 0.0f; }

float SecondsUntilNextClip() { return Following.empty() ? -1.0f : PhraseSecondsLeft(); }

std::string NarrationClip(int line) {
    if (!SelfVoicingOn() || !LineText(line)[0] || MatchKeyword(LineText(line)) != KwNone) return {};
    return kaSound::SpeechClipName(ReaderText(line), EnglishInForce());
}

bool PointerReaches(int screen, int index) {
    if (!SelfVoicingOn()) return false;
    int item = screen * ItemsPerScreen + index;
    if (Holds(ReachedNow, ReachedNowCount, item)) return false;
    if (ReachedNowCount < ReachedMost) ReachedNow[ReachedNowCount++] = item;
    return !Holds(ReachedBefore, ReachedBeforeCount, item);
}

void SelfVoicingAfterFrame() {
    if (!Following.empty() && PhraseSecondsLeft() <= 0.0f) {
        Play(Following.front());
        Following.erase(Following.begin());
    }
    for (int i = 0; i < ReachedNowCount; ++i) ReachedBefore[i] = ReachedNow[i];
    ReachedBeforeCount = ReachedNowCount;
    ReachedNowCount = 0;
    int mode = GetGameMode();
    if (mode == AnnouncedMode) return;
    AnnouncedMode = mode;
    if (mode == ModeNotice) SpeakPhrase("notice");
    if (mode == ModeTitle) SpeakPhrase("title");
}
