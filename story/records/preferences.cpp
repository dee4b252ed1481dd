// The reader's preferences, kept in $XDG_CONFIG_HOME/akari/preferences.ini: the music's
// and the voices' volumes over what the script sets, whether a click stops the voice,
// auto mode's pause, what skip mode skips and whether the game speaks its screens
// (self-voicing), the language, whether each line goes on the clipboard and whether the
// pointer on a word shows the word box. A missing or damaged file gives the defaults.
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "base/error_box.h"
#include "base/files.h"
#include "base/folders.h"
#include "base/key_values.h"
#include "sound/kaSound.h"
#include "story/records/records.h"

PreferenceFields Preferences;

static const char* const PreferencesFileName = "preferences.ini";
// The file holds a few short lines; anything longer is not ours.
static const size_t PreferencesFileBytes = 1024;

void ResetPreferences() {
    Preferences = PreferenceFields{};
    SetLanguage(false);
}

int VolumeLevel(int percent) {
    if (percent <= 0) return -10000;
    if (percent >= 100) return 0;
    return int(std::lround(2000.0 * std::log10(percent / 100.0)));
}

void ApplyVolumes() {
    kaSound::SetListenerLevels(VolumeLevel(Preferences.MusicVolume),
                               VolumeLevel(Preferences.VoiceVolume));
}

bool SkipsEverything() { return Preferences.SkipEverything; }

bool EnglishInForce() { return Preferences.English; }

void SetLanguage(bool english) {
    Preferences.English = english;
    SetErrorBoxEnglish(english);
}

const char* ReaderText(int line) {
    const char* english = Preferences.English ? EnglishLineText(line) : nullptr;
    return english ? english : LineText(line);
}

static bool IsVolume(int v) { return v >= 0 && v <= 100 && v % VolumeStep == 0; }
static bool IsPauseTenths(int v) {
    return v >= AutoPauseTenthsLeast && v <= AutoPauseTenthsMost && v % AutoPauseTenthsStep == 0;
}

// One "key=value" line into p; false when the key is unknown or its value out of range.
static bool ReadLine(const KeyValueLine& line, PreferenceFields* p) {
    if (line.kind != KeyValueLine::Pair) return false;
    const std::string& k = line.name;
    if (k == "language" && (line.value == "ja" || line.value == "en")) {
        p->English = line.value == "en";
        return true;
    }
    int value;
    if (!WholeNumber(line.value, &value)) return false;
    if (k == "music_volume" && IsVolume(value)) p->MusicVolume = value;
    else if (k == "voice_volume" && IsVolume(value)) p->VoiceVolume = value;
    else if (k == "click_stops_voice" && (value == 0 || value == 1)) p->ClickStopsVoice = value;
    else if (k == "auto_pause_tenths" && IsPauseTenths(value)) p->AutoPauseTenths = value;
    else if (k == "skip_everything" && (value == 0 || value == 1)) p->SkipEverything = value;
    else if (k == "self_voicing" && (value == 0 || value == 1)) p->SelfVoicing = value;
    else if (k == "copy_lines" && (value == 0 || value == 1)) p->CopyLines = value;
    else if (k == "word_box" && (value == 0 || value == 1)) p->WordBox = value;
    else return false;
    return true;
}

void LoadPreferences() {
    ResetPreferences();
    std::vector<KeyValueLine> lines;
    if (!ReadKeyValueFile(ConfigPath(PreferencesFileName), PreferencesFileBytes, &lines) || lines.empty() ||
        lines[0].kind != KeyValueLine::Section || lines[0].name != "preferences")
        return;
    PreferenceFields read;
    for (size_t i = 1; i < lines.size(); ++i)
        if (!lines[i].text.empty() && !ReadLine(lines[i], &read)) return;  // damaged: the defaults
    Preferences = read;
    SetLanguage(read.English);
}

bool SavePreferences() {
    std::string path = ConfigPath(PreferencesFileName);
    if (path.empty()) return false;
    std::error_code ec;
    std::filesystem::create_directories(std::filesystem::path(path).parent_path(), ec);
    const PreferenceFields& p = Preferences;
    char text[256];
    std::snprintf(text, sizeof text,
                  "[preferences]\nmusic_volume=%d\nvoice_volume=%d\nclick_stops_voice=%d\n"
                  "auto_pause_tenths=%d\nskip_everything=%d\nself_voicing=%d\nlanguage=%s\ncopy_lines=%d\nword_box=%d\n",
                  p.MusicVolume, p.VoiceVolume, p.ClickStopsVoice ? 1 : 0, p.AutoPauseTenths,
                  p.SkipEverything ? 1 : 0, p.SelfVoicing ? 1 : 0, p.English ? "en" : "ja", p.CopyLines ? 1 : 0, p.WordBox ? 1 : 0);
    return ReplaceFile(path.c_str(), text);
}
