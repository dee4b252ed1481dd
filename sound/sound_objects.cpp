// The table of 70 sound objects: loading a clip into a free slot, and the play, stop
// and volume controls of its buffers. Every change the mixer reads is made under the
// audio lock; error boxes are shown only after the lock is let go.
#include <algorithm>
#include <cmath>
#include <cstring>
#include <string>
#include <utility>

#include "base/error_box.h"
#include "platform/platform.h"
#include "sound/sound_state.h"

namespace kaSound {

SoundObject SoundObjectTable[ObjectCount];
bool MusicHoldsObject0 = false;

static const char* const LoadLocation = "kaSound::LoadObject";
constexpr size_t MaxNameLength = 30;

float GainOfLevel(int level) {
    if (level <= -10000) return 0.0f;
    return static_cast<float>(std::pow(10.0, level / 2000.0));
}

float MusicListenerGain = 1.0f, VoiceListenerGain = 1.0f;

void SetListenerLevels(int musicLevel, int voiceLevel) {
    float music = GainOfLevel(std::min(musicLevel, 0)), voice = GainOfLevel(std::min(voiceLevel, 0));
    plat::LockAudio();
    MusicListenerGain = music;
    VoiceListenerGain = voice;
    plat::UnlockAudio();
}

static bool ValidId(int id) { return id >= 0 && id < ObjectCount; }

// Reports a failed load (never with the audio lock held) and gives its result.
static int RefuseLoad(const char* message) {
    ErrorBox(LoadLocation, message);
    return -1;
}

// Puts one entry back to its start values and hands its clip to the caller, who frees
// it outside the lock; a buffer still sounding fades out. Call with the audio lock held.
static void ClearEntry(SoundObject* object, std::vector<float>* oldClip) {
    for (int j = 0; j < object->MixCount; ++j) FadeOutVoice(*object, object->Buffers[j]);
    oldClip->swap(object->Clip);
    object->Clip.clear();
    object->ClipFrames = 0;
    object->InUse = 0;
    object->FreeWhenEnded = 0;
    object->MixCount = 1;
    object->NextBuffer = 0;
    object->Name[0] = '\0';
    for (int j = 0; j < MaxMix; ++j) {
        object->Volume[j] = 0;
        object->Buffers[j] = Voice{0, 0, 1.0f};
    }
}

void ResetTable() {
    std::vector<float> old[ObjectCount];
    plat::LockAudio();
    for (int id = 0; id < ObjectCount; ++id) ClearEntry(&SoundObjectTable[id], &old[id]);
    MusicHoldsObject0 = false;
    MusicListenerGain = VoiceListenerGain = 1.0f;
    plat::UnlockAudio();
}

static bool Sounding(const SoundObject& object) {
    for (int j = 0; j < object.MixCount; ++j)
        if (object.Buffers[j].playing) return true;
    return false;
}

// Frees the objects given up while they sounded whose buffers have all ended since.
static void FreeEndedObjects() {
    std::vector<float> old[ObjectCount];
    plat::LockAudio();
    for (int id = 0; id < ObjectCount; ++id) {
        SoundObject* object = &SoundObjectTable[id];
        if (object->InUse && object->FreeWhenEnded && !Sounding(*object))
            ClearEntry(object, &old[id]);
    }
    plat::UnlockAudio();
}

int LoadObject(const char* name, int mix) { return LoadClipObject(name, mix, ReadWaveFile, false); }

int LoadClipObject(const char* name, int mix, ClipReader read, bool ours) {
    if (!SoundReady) return -1;
    FreeEndedObjects();
    if (mix < -MaxMix || mix > MaxMix) return RefuseLoad("ミックス数が多過ぎます");
    int count = mix < 0 ? -mix : mix;
    // A name too long to keep is refused before a slot is taken, so it cannot hold on
    // to a slot for the rest of the run.
    if (!name) return RefuseLoad("WAVEリソースが見つかりません");
    if (std::strlen(name) > MaxNameLength)
        return RefuseLoad("ファイル名またはリソース名が長すぎます");

    int slot = 0;
    while (slot < ObjectCount && SoundObjectTable[slot].InUse) ++slot;
    if (slot == ObjectCount) return RefuseLoad("オブジェクト数が多過ぎます");

    std::string path = std::string(plat::ProgramDirectory()) + name;
    std::vector<uint8_t> format, data;
    if (read(path.c_str(), &format, &data) != 0)
        return ours ? -1 : RefuseLoad("WAVEリソースが見つかりません");

    // An object without buffers never plays, so its format is never looked at.
    std::vector<float> clip;
    if (count > 0 && !ConvertClip(format, data, &clip, ours))
        return ours ? -1 : RefuseLoad("サウンドバッファが生成できません");

    std::vector<float> old;
    plat::LockAudio();
    SoundObject* object = &SoundObjectTable[slot];
    ClearEntry(object, &old);
    object->Clip.swap(clip);
    object->ClipFrames = static_cast<int64_t>(object->Clip.size() / 2);
    object->MixCount = count;
    object->InUse = 1;
    std::strncpy(object->Name, name, sizeof object->Name - 1);
    plat::UnlockAudio();
    return slot;
}

// The object's buffer range a selector picks: one buffer, or all of them for -1.
// False when the call must do nothing.
static bool Target(int id, int selector, SoundObject** object, int* first, int* last) {
    if (!SoundReady || !ValidId(id)) return false;
    SoundObject* o = &SoundObjectTable[id];
    if (!o->InUse) return false;
    if (selector == -1) {
        *first = 0;
        *last = o->MixCount - 1;
    } else if (selector >= 0 && selector < o->MixCount) {
        *first = *last = selector;
    } else {
        return false;
    }
    *object = o;
    return *first <= *last;
}

void Play(int id, int selector) {
    SoundObject* object;
    int first, last;
    if (!Target(id, selector, &object, &first, &last) || object->ClipFrames == 0) return;
    plat::LockAudio();
    int buffer = first;
    if (selector == -1) {
        buffer = object->NextBuffer;
        object->NextBuffer = (object->NextBuffer + 1) % object->MixCount;
    }
    FadeOutVoice(*object, object->Buffers[buffer]);  // a copy still sounding starts over
    object->Buffers[buffer].position = 0;
    object->Buffers[buffer].playing = 1;
    plat::UnlockAudio();
}

void Stop(int id, int selector) {
    SoundObject* object;
    int first, last;
    if (!Target(id, selector, &object, &first, &last)) return;
    plat::LockAudio();
    for (int j = first; j <= last; ++j) {
        FadeOutVoice(*object, object->Buffers[j]);
        object->Buffers[j].playing = 0;
        object->Buffers[j].position = 0;
    }
    plat::UnlockAudio();
}

void SetVolume(int id, int level, int selector) {
    SoundObject* object;
    int first, last;
    if (!Target(id, selector, &object, &first, &last)) return;
    // Clamp in decibels first so that a huge level cannot overflow the multiplication.
    if (level > 0) level = 0;
    if (level < -100) level = -100;
    int volume = level * 100;
    float gain = GainOfLevel(volume);
    plat::LockAudio();
    for (int j = first; j <= last; ++j) {
        object->Volume[j] = volume;
        object->Buffers[j].gain = gain;
    }
    plat::UnlockAudio();
}

void ReleaseObject(int id) {
    if (!SoundReady || !ValidId(id) || !SoundObjectTable[id].InUse) return;
    if (id == 0 && MusicHoldsObject0) return;
    std::vector<float> old;
    plat::LockAudio();
    ClearEntry(&SoundObjectTable[id], &old);
    plat::UnlockAudio();
}

void ReleaseWhenEnded(int id) {
    if (!SoundReady || !ValidId(id) || !SoundObjectTable[id].InUse) return;
    if (id == 0 && MusicHoldsObject0) return;
    plat::LockAudio();
    SoundObjectTable[id].FreeWhenEnded = 1;
    plat::UnlockAudio();
    FreeEndedObjects();
}

int ClaimMusicObject() {
    if (!SoundReady) return 0;
    std::vector<float> old;
    plat::LockAudio();
    SoundObject* object = &SoundObjectTable[0];
    ClearEntry(object, &old);
    object->InUse = 1;
    std::strncpy(object->Name, "DirectMusic", sizeof object->Name - 1);
    MusicHoldsObject0 = true;
    plat::UnlockAudio();
    return 1;
}

void ReleaseMusicObject() {
    if (!MusicHoldsObject0) return;
    std::vector<float> old;
    plat::LockAudio();
    MusicHoldsObject0 = false;
    ClearEntry(&SoundObjectTable[0], &old);
    plat::UnlockAudio();
}

float SecondsLeft(int id) {
    if (!ValidId(id) || (id == 0 && MusicHoldsObject0)) return 0.0f;
    const SoundObject& object = SoundObjectTable[id];
    int64_t left = 0;
    plat::LockAudio();
    for (int j = 0; object.InUse && j < object.MixCount; ++j)
        if (object.Buffers[j].playing && object.ClipFrames - object.Buffers[j].position > left)
            left = object.ClipFrames - object.Buffers[j].position;
    plat::UnlockAudio();
    return float(double(left) / OutputRate);
}

int InUse(int id) { return ValidId(id) ? SoundObjectTable[id].InUse : 0; }
int MixCountOf(int id) { return ValidId(id) ? SoundObjectTable[id].MixCount : 0; }
const char* NameOf(int id) { return ValidId(id) ? SoundObjectTable[id].Name : ""; }
int VolumeOf(int id, int buffer) {
    if (!ValidId(id) || buffer < 0 || buffer >= MaxMix) return 0;
    return SoundObjectTable[id].Volume[buffer];
}

}  // namespace kaSound
