// Build-time script tool: converts the UTF-8 story script to CP932, checks every line by
// the rules the engine reads it with and against the lists of pictures, music and voice
// clips beside it, checks the pictures against who the scenes have in view, lays the
// prose out as the message window does (warning of a last row of one or two characters,
// refusing a row that begins with closing punctuation),
// prints what the story holds, and writes the C++ source of the script table. Usage:
// akari_script_tool script.txt out.cpp. A bad script is refused with file:line; the
// lists are pictures.txt, picture_cast.txt, music.txt and voices.txt in the script's
// folder, and effects.txt beside them.
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "base/screen_layout.h"
#include "draw/sjis.h"
#include "story/records/script.h"
#include "tools/asset_lists.h"
#include "tools/c_literal.h"
#include "tools/message_rows.h"

static ScriptLine Table[ScriptLineCount];
static int LineCount = 0;
static const char* SourceName = "";
static int Errors = 0;
// The text line (counted from 1) of each table line: the notes for the tools (lines
// that begin with '#') are left out of the table.
static int SourceLine[ScriptLineCount];

static void RefuseAt(int textLine, const std::string& why) {
    std::fprintf(stderr, "%s:%d: %s\n", SourceName, textLine, why.c_str());
    ++Errors;
}
static void Refuse(int index, const std::string& why) { RefuseAt(SourceLine[index], why); }

static bool IsDigits(const char* p, size_t n) {
    for (size_t i = 0; i < n; ++i)
        if (p[i] < '0' || p[i] > '9') return false;
    return true;
}

// Fixed-width fields: "DDD,D" runs, then a last field of one or more digits.
static bool FieldsMatch(const char* args, const char* shape) {
    size_t n = std::strlen(shape);
    for (size_t i = 0; i < n; ++i) {
        if (shape[i] == 'D' ? !IsDigits(args + i, 1) : args[i] != shape[i]) return false;
    }
    const char* last = args + n;
    size_t digits = std::strspn(last, "0123456789");
    return digits > 0 && last[digits] == '\0';
}

// switch:AAA,V,NAME: the fields, then a 4-byte label name that is not a number.
static bool NamesLabel(const char* arg) {
    return std::strlen(arg) == 10 && IsDigits(arg, 3) && arg[3] == ',' && IsDigits(arg + 4, 1) &&
           arg[5] == ',' && !IsDigits(arg + 6, 1);
}

// The label a jump or an option names must be found by the label search at its own
// label: line; an earlier line whose bytes 6 to 9 spell it would capture it.
static void CheckLabelTarget(int index, const std::string& name) {
    if (name.size() != 4) {
        Refuse(index, "label name \"" + name + "\" is not exactly 4 bytes");
        return;
    }
    int found = FindLabelIn(Table, name.c_str());
    if (found >= LineCount) {
        Refuse(index, "no label: line for \"" + name + "\"");
    } else if (std::strncmp(Table[found], "label:", 6) != 0) {
        Refuse(index, "label \"" + name + "\" is captured by line " + std::to_string(found + 1));
    }
}

static void CheckFileName(int index, const char* name) {
    size_t n = std::strlen(name);
    if (n == 0) Refuse(index, "file name missing");
    if (n > 30) Refuse(index, "file name longer than 30 characters");
}

static void CheckLine(int i) {
    const char* line = Table[i];
    Keyword k = MatchKeyword(line);
    if (k == KwNone) return;
    size_t length = std::strlen(KeywordText[k]);
    if (std::strncmp(line, KeywordText[k], length) != 0) {
        Refuse(i, std::string("\"") + KeywordText[k] + "\" written without its colon");
        return;
    }
    const char* arg = line + length;
    switch (k) {
    case KwLabel:
        if (std::strlen(arg) != 4) Refuse(i, "label: name is not exactly 4 bytes");
        break;
    case KwJump: CheckLabelTarget(i, arg); break;
    case KwFlg:
        if (!FieldsMatch(arg, "DDD,")) Refuse(i, "flg: must be flg:AAA,V");
        break;
    case KwIf:
        if (!FieldsMatch(arg, "DDD,D,DDD,")) Refuse(i, "if: must be if:AAA,V,BBB,W");
        break;
    case KwSwitch:
        if (NamesLabel(arg)) {
            // switch:AAA,V,NAME continues at the label line NAME: written as its number.
            CheckLabelTarget(i, arg + 6);
            int target = FindLabelIn(Table, arg + 6);
            if (target < LineCount) std::snprintf(Table[i] + 13, ScriptLineBytes - 13, "%d", target);
        } else if (!FieldsMatch(arg, "DDD,D,")) {
            Refuse(i, "switch: must be switch:AAA,V,LLL or switch:AAA,V,NAME");
        } else {
            int target = ReadNumberAt(line, 13);
            if (target < 0 || target >= LineCount)
                Refuse(i, "switch: sends to line " + std::to_string(target) +
                              ", outside the script");
        }
        break;
    case KwSize: {
        int size = ReadNumberAt(line, int(length));
        if (!FieldsMatch(arg, "") || size < MinTextSize || size > MaxTextSize)
            Refuse(i, "size: must be a font size from " + std::to_string(MinTextSize) +
                          " to " + std::to_string(MaxTextSize));
        break;
    }
    case KwFile:
    case KwMidiPlay:
    case KwWavePlay: CheckFileName(i, arg); break;
    case KwCommand: {
        int count = ReadNumberAt(line, 8);
        if (count < 1 || count > 8) {
            Refuse(i, "command: needs 1 to 8 options");
            break;
        }
        if (i + count + 1 >= LineCount) {
            Refuse(i, "command: block is not followed by its options and prompt");
            break;
        }
        if (SourceLine[i + count + 1] != SourceLine[i] + count + 1)
            Refuse(i, "a note for the tools between a command: line and its prompt");
        for (int o = i + 1; o <= i + count; ++o) {
            const char* colon = std::strchr(Table[o], ':');
            if (!colon || colon - Table[o] != 4)
                Refuse(o, "option line must begin with a 4-byte label and ':'");
            else
                CheckLabelTarget(o, std::string(Table[o], 4));
        }
        break;
    }
    default: break;
    }
}

// The lists the script is checked against, with how often the script uses each entry.
static std::vector<PictureEntry> Pictures;
static std::vector<CastEntry> Casts;  // by picture: Casts[i] is the cast of Pictures[i]
static std::vector<MusicEntry> Music;
static std::vector<VoiceEntry> Voices;
static std::vector<EffectEntry> Effects;
static std::vector<int> PictureUses, MusicUses, VoiceUses, EffectUses;

template <typename Entry>
static int FindEntry(const std::vector<Entry>& list, const char* file) {
    for (size_t i = 0; i < list.size(); ++i)
        if (list[i].file == file) return int(i);
    return -1;
}

static std::string Folder(const std::string& path) {
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? std::string() : path.substr(0, slash + 1);
}

// The people the pictures show and the scenes have in view (清 and 母 only in the
// memories), and the words the narration calls them by at the head of a line (小夜 is
// 少女 until she gives her name).
// 湊 tells the story: every picture is seen through his eyes or shows him, so no picture
// shows him where he is not; a scene names him only where it has him in view beside her.
static const struct {
    const char* name;
    const char* calledBy[2];
} People[] = {{"小夜", {"小夜", "少女"}}, {"湊", {"湊", nullptr}}, {"清", {"清", nullptr}}, {"母", {"母", nullptr}}};
static const unsigned Narrator = 1u << 1;

static int PersonNamed(const std::string& name) {
    for (size_t i = 0; i < sizeof People / sizeof People[0]; ++i)
        if (name == People[i].name) return int(i);
    return -1;
}

static std::string Names(unsigned people) {
    std::string names;
    for (size_t i = 0; i < sizeof People / sizeof People[0]; ++i)
        if (people & (1u << i)) names += (names.empty() ? "" : " and ") + std::string(People[i].name);
    return names.empty() ? "nobody" : names;
}

// What the scene notes say at each table line: who the scene has in view (a bit per
// person) and whether snow is falling outside (None before the first note says).
static unsigned InView[ScriptLineCount];
static Sky Weather[ScriptLineCount];

// Each picture of pictures.txt has its line in picture_cast.txt, naming known people.
static void MatchCasts(const std::string& folder, std::vector<CastEntry>& listed) {
    std::string castList = folder + "picture_cast.txt";
    for (const PictureEntry& p : Pictures) {
        int found = FindEntry(listed, p.file.c_str());
        if (found < 0) {
            std::fprintf(stderr, "%s: %s is not in it\n", castList.c_str(), p.file.c_str());
            ++Errors;
            Casts.push_back({});
        } else {
            Casts.push_back(listed[size_t(found)]);
        }
    }
    for (const CastEntry& c : listed) {
        std::string why = FindEntry(Pictures, c.file.c_str()) < 0 ? " is not in pictures.txt" : "";
        for (const std::string& name : c.people)
            if (PersonNamed(name) < 0) why = " shows " + name + ", who is not in the story";
        if (!why.empty()) {
            std::fprintf(stderr, "%s: %s%s\n", castList.c_str(), c.file.c_str(), why.c_str());
            ++Errors;
        }
    }
}

static bool ReadLists(const std::string& folder) {
    Pictures.clear();  // the fuzz target reads them again for every script
    Casts.clear();
    Music.clear();
    Voices.clear();
    Effects.clear();
    std::vector<CastEntry> casts;
    for (const std::string& why : {ReadPictureList(folder + "pictures.txt", &Pictures),
                                   ReadCastList(folder + "picture_cast.txt", &casts),
                                   ReadMusicList(folder + "music.txt", &Music),
                                   ReadVoiceList(folder + "voices.txt", &Voices),
                                   ReadEffectList(folder + "effects.txt", &Effects)})
        if (!why.empty()) {
            std::fprintf(stderr, "%s\n", why.c_str());
            ++Errors;
        }
    if (Errors == 0) MatchCasts(folder, casts);
    PictureUses.assign(Pictures.size(), 0);
    MusicUses.assign(Music.size(), 0);
    VoiceUses.assign(Voices.size(), 0);
    EffectUses.assign(Effects.size(), 0);
    return Errors == 0;
}

// What each table line is; option and prompt lines are known only from their command:.
enum LineKind { KindCommand, KindOption, KindPrompt, KindProse };
static LineKind Kinds[ScriptLineCount];

static void SortLines() {
    for (int i = 0; i < LineCount; ++i)
        Kinds[i] = MatchKeyword(Table[i]) == KwNone ? KindProse : KindCommand;
    for (int i = 0; i < LineCount; ++i) {
        if (MatchKeyword(Table[i]) != KwCommand) continue;
        int count = ReadNumberAt(Table[i], 8);
        for (int o = i + 1; o <= i + count + 1 && o < LineCount; ++o)
            Kinds[o] = o <= i + count ? KindOption : KindPrompt;
    }
}

static int CharCount(const char* sjis) {
    int n = 0;
    for (size_t p = 0, length = std::strlen(sjis); p < length; ++n)
        p += size_t(SjisCharLength(sjis + p, length - p));
    return n;
}

// The message window lays prose out from its text area's start up to its right limit,
// one row of `size` pixels after another, down to the window's foot. No glyph of the
// fonts is wider than the row height, so counting every character that wide never
// undercounts the rows: a row takes characters while they end left of the limit.
static const int WindowLeft = layout::MessageText.x, WindowRight = layout::MessageText.right;
static const int WindowTop = layout::MessageText.y, WindowBottom = layout::ClientHeight;
static const int ProseByteLimit = 110;  // three rows at the default size 28
static void CheckProseFits(int i, int size) {
    const char* line = Table[i];
    if (std::strlen(line) > size_t(ProseByteLimit))
        Refuse(i, "prose longer than " + std::to_string(ProseByteLimit) + " bytes in CP932");
    if (size < 1 || size > WindowBottom - WindowTop) {
        Refuse(i, "size: " + std::to_string(size) + " leaves no row in the message window");
        return;
    }
    int perRow = (WindowRight - WindowLeft - 1) / size;
    int rows = (CharCount(line) + perRow - 1) / perRow;
    int room = (WindowBottom - WindowTop) / size;
    if (rows > room)
        Refuse(i, "at size " + std::to_string(size) + " this line needs " + std::to_string(rows) +
                      " rows of the message window, which has room for " + std::to_string(room));
}

// A paragraph that leaves one or two characters alone on its last row (…なかっ／た。)
// reads as a fault of the setting. The build warns of it; it does not refuse, as the
// rows depend on the face installed.
static int ShortLastRows = 0;
static void WarnOfShortLastRow(int i, const std::vector<int>& rows) {
    const char* line = Table[i];
    if (rows.size() < 2 || rows.back() > 2) return;
    size_t p = 0, length = std::strlen(line);
    for (int c = CharCount(line) - rows.back(); c > 0; --c) p += size_t(SjisCharLength(line + p, length - p));
    char lastRow[16];
    SjisToUtf8(line + p, lastRow, sizeof lastRow);
    std::fprintf(stderr, "%s:%d: warning: the last row of the message window holds only 「%s」\n", SourceName,
                 SourceLine[i], lastRow);
    ++ShortLastRows;
}

// No row of the message window may begin with what closes a phrase: a 」 alone below
// its speech, a ？ or a second …. (The window lets 、。」… and a few more hang past the
// limit; those the rows count on the row they hang from.) Refused, unlike a short last
// row, which is a matter of taste: measured with the faces the set-up installs, it is
// what every reader of this build would see.
static void RefuseClosingAtRowStart(int i, const std::vector<int>& rows) {
    static const std::set<uint32_t> closes = {0x3001, 0x3002, 0xFF0C, 0xFF0E, 0x30FB, 0x2026, 0x2025,
                                              0x300D, 0x300F, 0xFF09, 0xFF1F, 0xFF01, 0x201D, 0x2019};
    const char* line = Table[i];
    size_t p = 0, length = std::strlen(line);
    for (size_t r = 0; r + 1 < rows.size(); ++r) {
        for (int c = rows[r]; c > 0; --c) p += size_t(SjisCharLength(line + p, length - p));
        const int n = SjisCharLength(line + p, length - p);
        if (closes.count(SjisDecodeChar(line + p, n))) {
            char first[8];
            SjisToUtf8(std::string(line + p, size_t(n)).c_str(), first, sizeof first);
            Refuse(i, std::string("row ") + std::to_string(r + 2) + " of the message window begins with 「" +
                          first + "」");
        }
    }
}

// A choice draws each option in its row, in the choice's font, up to the row's right
// end, and its prompt as one row of its text area.
static const int OptionChars = (layout::ChoiceRowRight - layout::ChoiceTextLeft) / layout::ChoiceTextSize;
static const int PromptChars =
    (layout::ChoicePrompt.right - layout::ChoicePrompt.x - 1) / layout::ChoiceTextSize;

// Speakers of dialogue lines, set as novels set speech (湊「……」), and the voice each
// speaks with; announce is the voice of narrated lines read aloud.
static const struct {
    const char* name;
    const char* voice;
} Speakers[] = {{"湊", "minato"}, {"小夜", "sayo"}};

// The bytes of the first `chars` characters of the line when they are all double-byte,
// else 0.
static size_t DoubleByteChars(const char* line, int chars) {
    size_t p = 0, length = std::strlen(line);
    for (int i = 0; i < chars; ++i) {
        if (p >= length || SjisCharLength(line + p, length - p) != 2) return 0;
        p += 2;
    }
    return p;
}

// Whether the line ends with the double-byte characters `sjis` (whole characters).
static bool EndsWith(const char* line, const char* sjis) {
    size_t length = std::strlen(line), n = std::strlen(sjis);
    if (n > length) return false;
    size_t p = 0;
    while (p < length - n) p += size_t(SjisCharLength(line + p, length - p));
    return p == length - n && std::strcmp(line + p, sjis) == 0;
}

// A speech's last full stop and closing bracket, 。」, in CP932.
static const char* FullStopClose() {
    static char sjis[8] = "";
    if (!sjis[0]) Utf8ToSjis("。」", sjis, sizeof sjis);
    return sjis;
}

// The speaker's voice of a dialogue line (a name of one or two characters, then the
// speech in 「」 to the line's end); "" for other prose; "?" for a name that has no
// voice; ":" for a name set with the colon of a raw script prefix.
static std::string SpeakerVoice(const char* line) {
    char open[4], close[4];
    Utf8ToSjis("「", open, sizeof open);
    Utf8ToSjis("」", close, sizeof close);
    size_t length = std::strlen(line);
    for (int chars = 1; chars <= 2; ++chars) {
        size_t n = DoubleByteChars(line, chars);
        if (n == 0) break;
        if (line[n] == ':') return ":";
        if (std::strncmp(line + n, open, 2) != 0 || length < n + 4 || !EndsWith(line, close)) continue;
        for (const auto& speaker : Speakers) {
            char name[16];
            Utf8ToSjis(speaker.name, name, sizeof name);
            if (std::strlen(name) == n && std::strncmp(line, name, n) == 0) return speaker.voice;
        }
        return "?";
    }
    return "";
}

// What the story holds, printed when the script passes.
static struct {
    int prose = 0, dialogue = 0, clips = 0, animations = 0, choices = 0, effects = 0;
    int waved = 0, sized = 0, silences = 0;  // swave:, size: and midi_stop: lines
    bool loopModes[6] = {};
} Counts;

// Walks the story in table order, carrying what a step carries: the picture of the last
// file: line, the loop mode, the last non-zero anime: (loop modes 3 and 5 restart it at
// random on whatever picture is shown), and the size:, anime: and wave_play: of the
// command lines before each prose line. A jump:, end: or command: ends that run.
static void CheckStory() {
    int picture = -1, loopMode = 0, size = 28, voice = -1, anime = 0, animeLine = 0, saved = 0;
    int restartRefused = 0;  // once for each file: line
    for (int i = 1; i < LineCount; ++i) {
        const char* line = Table[i];
        if (Kinds[i] == KindOption) {
            if (CharCount(line + 5) > OptionChars)
                Refuse(i, "option text longer than " + std::to_string(OptionChars) + " characters");
            continue;
        }
        if (Kinds[i] == KindPrompt || Kinds[i] == KindProse) {
            ++Counts.prose;
            if (Kinds[i] == KindPrompt) {
                if (CharCount(line) > PromptChars) Refuse(i, "a choice's prompt needs more than one row");
            } else {
                CheckProseFits(i, size);
                const std::vector<int> rows = MessageRows(line, size, WindowLeft, WindowRight);
                WarnOfShortLastRow(i, rows);
                RefuseClosingAtRowStart(i, rows);
            }
            std::string speaker = SpeakerVoice(line);
            if (speaker == "?") Refuse(i, "a speaker with no voice");
            if (speaker == ":") Refuse(i, "a speaker's name and a colon: set speech as 湊「……」");
            if (!speaker.empty() && EndsWith(line, FullStopClose()))
                Refuse(i, "a full stop before the closing 」: speech is set without it");
            if (!speaker.empty()) ++Counts.dialogue;
            if (!speaker.empty() && voice < 0) Refuse(i, "dialogue without a wave_play: before it");
            if (voice >= 0 && Voices[size_t(voice)].speaker != (speaker.empty() ? "announce" : speaker))
                Refuse(i, "spoken in the voice of " + Voices[size_t(voice)].speaker);
            if (anime > 0 && picture >= 0) {
                const PictureEntry& p = Pictures[size_t(picture)];
                bool fits = loopMode == 4 ? p.width >= 500 + anime
                                          : p.bands >= anime + (loopMode == 1 ? 0 : 1);
                if (!fits) Refuse(animeLine, p.file + " is too small for anime:" + std::to_string(anime) +
                                                 " in loop mode " + std::to_string(loopMode));
            }
            if ((loopMode == 3 || loopMode == 5) && picture >= 0 && Pictures[size_t(picture)].bands < saved + 1 &&
                !restartRefused++)
                Refuse(i, Pictures[size_t(picture)].file + " is shown while loop mode " + std::to_string(loopMode) +
                              " restarts anime:" + std::to_string(saved) +
                              " at random (its bands beyond the picture show nothing): end it with loopanime:0");
            size = 28, voice = -1, anime = 0;
            continue;
        }
        Keyword k = MatchKeyword(line);
        const char* arg = line + ArgumentOffset(k);
        int n = ReadNumberAt(line, ArgumentOffset(k));
        switch (k) {
        case KwFile:
            picture = FindEntry(Pictures, arg);
            restartRefused = 0;
            if (picture < 0) Refuse(i, std::string(arg) + " is not in pictures.txt");
            else ++PictureUses[size_t(picture)];
            break;
        case KwSetscreen:
            if (picture >= 0 && n != 99 && n >= Pictures[size_t(picture)].bands)
                Refuse(i, Pictures[size_t(picture)].file + " has no band " + std::to_string(n));
            break;
        case KwSwave:
            ++Counts.waved;
            if (picture >= 0 && !Pictures[size_t(picture)].waved)
                Refuse(i, Pictures[size_t(picture)].file + " is not keyed for swave: in pictures.txt");
            break;
        case KwAnime:
            anime = n, animeLine = i;
            if (n != 0) saved = n;
            ++Counts.animations;
            break;
        case KwLoopanime:
            loopMode = n;
            if (n >= 0 && n <= 5) Counts.loopModes[n] = true;
            ++Counts.animations;
            break;
        case KwSpeed: ++Counts.animations; break;
        case KwSize:
            size = n;
            ++Counts.sized;
            break;
        case KwMidiStop: ++Counts.silences; break;
        case KwMidiPlay: {
            int piece = FindEntry(Music, arg);
            if (piece < 0) Refuse(i, std::string(arg) + " is not in music.txt");
            else ++MusicUses[size_t(piece)];
            break;
        }
        case KwWavePlay:
            if (IsEffectClip(arg)) {
                // An effect sounds on after its step only when the voice that the next
                // step stops is played after it.
                int effect = FindEntry(Effects, arg);
                if (effect < 0) Refuse(i, std::string(arg) + " is not in effects.txt");
                else ++EffectUses[size_t(effect)];
                if (voice >= 0) Refuse(i, std::string(arg) + " plays after the voice of its step");
                ++Counts.effects;
                break;
            }
            voice = FindEntry(Voices, arg);
            if (voice < 0) Refuse(i, std::string(arg) + " is not in voices.txt");
            else if (VoiceUses[size_t(voice)]++) Refuse(i, std::string(arg) + " is played twice");
            ++Counts.clips;
            break;
        case KwCommand:
            if (i > 5) ++Counts.choices;
            [[fallthrough]];
        case KwJump:
        case KwEnd: size = 28, voice = -1, anime = 0; break;
        default: break;
        }
    }
}

// The person a prose line begins with as its subject (her name or what the narration
// calls her, then は or が): someone acting in the line, whom its picture must show.
static unsigned PersonActing(const char* line) {
    char particles[2][4];
    Utf8ToSjis("は", particles[0], sizeof particles[0]);
    Utf8ToSjis("が", particles[1], sizeof particles[1]);
    for (size_t i = 0; i < sizeof People / sizeof People[0]; ++i)
        for (const char* word : People[i].calledBy) {
            char sjis[16];
            if (!word || !Utf8ToSjis(word, sjis, sizeof sjis)) continue;
            size_t n = std::strlen(sjis);
            if (std::strncmp(line, sjis, n) != 0) continue;
            for (const char* particle : particles)
                if (std::strncmp(line + n, particle, 2) == 0) return 1u << i;
        }
    return 0;
}

static unsigned Showing(const CastEntry& cast) {
    unsigned people = 0;
    for (const std::string& name : cast.people)
        if (PersonNamed(name) >= 0) people |= 1u << PersonNamed(name);
    return people;
}

// The line over each picture that may be on screen with it. A picture of the place
// shows everyone the scene has in view; no picture of that night shows someone it does
// not have in view (but 湊, whose eyes they are); the picture shows whoever the line
// has acting; and its sky agrees with the scene's about the snow. A fault of a picture
// the line does not change (who is in view, or the sky) is told at its first line only.
static void CheckLineOverPictures(int i, const std::vector<int>& shown, std::set<std::string>& told) {
    unsigned acting = PersonActing(Table[i]), inView = InView[i];
    for (int p : shown) {
        const CastEntry& cast = Casts[size_t(p)];
        const std::string& file = Pictures[size_t(p)].file;
        unsigned showing = Showing(cast);
        auto once = [&](const std::string& why) {
            if (told.insert(file + why).second) Refuse(i, why);
        };
        if (acting & ~showing) Refuse(i, Names(acting) + " acts in this line over " + file + ", which does not show them");
        if (cast.shot == Shot::Memory || cast.shot == Shot::Card) continue;
        if (cast.shot == Shot::Place && (inView & ~showing))
            once(file + " does not show " + Names(inView & ~showing) + ", whom the scene has in view");
        if (showing & ~inView & ~Narrator)
            once(file + " shows " + Names(showing & ~inView & ~Narrator) + ", whom the scene does not have in view");
        if (Weather[i] != Sky::None && cast.sky != Sky::None && cast.sky != Weather[i])
            once(file + (cast.sky == Sky::Snow ? " shows snow falling where the scene has it stopped"
                                               : " shows no snow falling where the scene has it falling"));
    }
}

// The pictures against the scenes, in the script's order: the pictures that may be on
// screen at a line are those of the last file: line on each way there, a jump:, a
// switch: or a choice's option carrying those it has to its label.
static void CheckPictures() {
    std::vector<std::vector<int>> arriving(size_t(LineCount) + 1);
    std::vector<int> shown;
    std::set<std::string> told;
    auto carry = [&](int from, int target) {
        if (target <= from || target >= LineCount) return;  // back to the head: a file: line follows
        for (int p : shown)
            if (std::find(arriving[size_t(target)].begin(), arriving[size_t(target)].end(), p) ==
                arriving[size_t(target)].end())
                arriving[size_t(target)].push_back(p);
    };
    for (int i = 0; i < LineCount; ++i) {
        for (int p : arriving[size_t(i)])
            if (std::find(shown.begin(), shown.end(), p) == shown.end()) shown.push_back(p);
        const char* line = Table[i];
        if (Kinds[i] == KindProse || Kinds[i] == KindPrompt) {
            CheckLineOverPictures(i, shown, told);
            if (Kinds[i] == KindPrompt) shown.clear();  // the choice goes on at its options' labels
            continue;
        }
        if (Kinds[i] == KindOption) continue;
        Keyword k = MatchKeyword(line);
        const char* arg = line + ArgumentOffset(k);
        switch (k) {
        case KwFile: {
            int picture = FindEntry(Pictures, arg);
            shown.assign(picture < 0 ? 0 : 1, picture);
            told.clear();
            break;
        }
        case KwJump:
            carry(i, FindLabelIn(Table, arg));
            shown.clear();
            break;
        case KwSwitch: carry(i, ReadNumberAt(line, 13)); break;
        case KwCommand:
            for (int o = i + 1; o <= i + ReadNumberAt(line, 8) && o < LineCount; ++o)
                carry(i, FindLabelIn(Table, std::string(Table[o], 4).c_str()));
            break;
        case KwEnd: shown.clear(); break;
        default: break;
        }
    }
}

// Every entry of the lists is used: the lists say what the build makes and what the
// pictures and music are drawn and written for.
template <typename Entry>
static void CheckAllUsed(const char* list, const std::vector<Entry>& entries, const std::vector<int>& uses) {
    for (size_t i = 0; i < entries.size(); ++i)
        if (!uses[i]) {
            std::fprintf(stderr, "%s%s: %s is never used by the script\n", Folder(SourceName).c_str(), list,
                         entries[i].file.c_str());
            ++Errors;
        }
}

// The prose lines (prompts included) of table lines [from, to).
static int ProseBetween(int from, int to) {
    int n = 0;
    for (int i = from; i < to; ++i) n += Kinds[i] == KindPrompt || Kinds[i] == KindProse;
    return n;
}

// The story's parts as the last choice divides them: the prose before its first
// continuation, and each continuation's, from its option's label to the next of them or
// to the _end label.
static void PrintParts() {
    int choice = 0;
    for (int i = 6; i < LineCount; ++i)
        if (MatchKeyword(Table[i]) == KwCommand) choice = i;
    if (choice == 0) return;
    std::vector<int> starts;
    for (int o = choice + 1; o < LineCount && Kinds[o] == KindOption; ++o)
        starts.push_back(FindLabelIn(Table, std::string(Table[o], 4).c_str()));
    int end = FindLabelIn(Table, "_end");
    int first = *std::min_element(starts.begin(), starts.end());
    std::printf("%s: %d prose lines before the last choice's continuations;", SourceName,
                ProseBetween(6, first));
    for (size_t k = 0; k < starts.size(); ++k) {
        int stop = end > starts[k] ? end : LineCount;
        for (int other : starts)
            if (other > starts[k]) stop = std::min(stop, other);
        std::printf("%s option %zu: %d", k ? "," : "", k + 1, ProseBetween(starts[k], stop));
    }
    std::printf("\n");
}

static void PrintCounts() {
    std::printf("%s: %d prose lines (%d of dialogue), %d voice clips, %zu pictures, "
                "%d animation commands, loop modes",
                SourceName, Counts.prose, Counts.dialogue, Counts.clips, Pictures.size(), Counts.animations);
    for (int m = 0; m < 6; ++m)
        if (Counts.loopModes[m]) std::printf(" %d", m);
    std::printf(", %d choices, %zu pieces of music, %d midi_stop:, %d swave:, %d size:\n",
                Counts.choices, Music.size(), Counts.silences, Counts.waved, Counts.sized);
    std::printf("%s: %d sound effects played, %zu made\n", SourceName, Counts.effects, Effects.size());
    std::printf("%s: %d prose lines end with one or two characters on their last row\n", SourceName, ShortLastRows);
    PrintParts();
}

// A note for the tools, a line that begins with '#': "#present" and who the scene has
// in view from here on, by name ("-" for nobody); "#sky snow" or "#sky still", whether
// snow is falling outside from here on; "# " begins a comment.
static void ReadNote(int number, const std::string& text, unsigned* inView, Sky* weather) {
    if (text.size() == 1 || text[1] == ' ') return;
    std::istringstream words(text.substr(1));
    std::string kind, word;
    words >> kind;
    std::vector<std::string> rest;
    while (words >> word) rest.push_back(word);
    if (kind == "present") {
        unsigned people = 0;
        for (const std::string& name : rest) {
            int who = PersonNamed(name);
            if (who < 0 && (name != "-" || rest.size() > 1)) {
                RefuseAt(number, "#present names " + name + ": it is followed by the names of the story's people, or -");
                return;
            }
            if (who >= 0) people |= 1u << who;
        }
        if (rest.empty()) RefuseAt(number, "#present is followed by the names of the story's people, or -");
        *inView = people;
    } else if (kind == "sky") {
        if (rest.size() != 1 || (rest[0] != "snow" && rest[0] != "still"))
            RefuseAt(number, "#sky is followed by snow or still");
        else
            *weather = rest[0] == "snow" ? Sky::Snow : Sky::Still;
    } else {
        RefuseAt(number, "a note for the tools is #present, #sky or a comment \"# ...\"");
    }
}

// Reads the script into Table, the notes for the tools left out; the first empty line
// (or the end of the file) ends it.
static bool ReadScript(const char* path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        std::fprintf(stderr, "%s: cannot read\n", path);
        return false;
    }
    std::string text;
    int number = 0, index = 0;
    bool ended = false;
    unsigned inView = 0;
    Sky weather = Sky::None;
    while (std::getline(in, text)) {
        ++number;
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (ended) {
            if (!text.empty()) {
                RefuseAt(number, "text after the empty line that ends the script");
                return false;
            }
        } else if (text.empty()) {
            ended = true;
        } else if (IsToolNote(text.c_str())) {
            ReadNote(number, text, &inView, &weather);
        } else if (index >= ScriptLineCount - 1) {
            RefuseAt(number, "the script runs past line 1499 of the table: an empty line must end it");
            return false;
        } else {
            SourceLine[index] = number;
            InView[index] = inView;
            Weather[index] = weather;
            // CP932 never takes more bytes than UTF-8 for the same text, so a failed
            // conversion is always a character that CP932 lacks, whatever the length.
            std::vector<char> converted(text.size() + 1);
            if (!Utf8ToSjis(text.c_str(), converted.data(), converted.size()))
                Refuse(index, "a character that CP932 cannot encode");
            else if (std::strlen(converted.data()) >= size_t(ScriptLineBytes))
                Refuse(index, "longer than 399 bytes in CP932");
            else
                std::strcpy(Table[index], converted.data());
            LineCount = ++index;
        }
    }
    return true;
}

static bool WriteTable(const char* path) {
    std::string temporary = std::string(path) + ".tmp";
    std::FILE* f = std::fopen(temporary.c_str(), "wb");
    if (!f) return false;
    std::fprintf(f, "// The story script, made by the script tool from data/script.txt.\n");
    std::fprintf(f, "#include \"story/records/script.h\"\n\n");
    std::fprintf(f, "const ScriptLine ShippedScript[ScriptLineCount] = {\n");
    for (int i = 0; i < LineCount; ++i) {
        std::fputs("    ", f);
        WriteCLiteral(f, Table[i]);
        std::fputs(",\n", f);
    }
    std::fprintf(f, "};\n");
    bool ok = std::fclose(f) == 0;
    return ok && std::rename(temporary.c_str(), path) == 0;
}

int main(int argc, char** argv) {
    if (argc != 3) {
        std::fprintf(stderr, "usage: %s script.txt out.cpp\n", argv[0]);
        return 2;
    }
    // From a clean table: the fuzz target runs this more than once in one process.
    std::memset(Table, 0, sizeof Table);
    LineCount = 0;
    Errors = 0;
    ShortLastRows = 0;
    SourceName = argv[1];
    if (!ReadLists(Folder(argv[1])) || !ReadScript(argv[1])) return 1;
    if (Errors == 0)
        for (int i = 0; i < LineCount; ++i) CheckLine(i);
    if (Errors == 0) {
        SortLines();
        CheckStory();
        CheckPictures();
        CheckAllUsed("pictures.txt", Pictures, PictureUses);
        CheckAllUsed("music.txt", Music, MusicUses);
        CheckAllUsed("voices.txt", Voices, VoiceUses);
        CheckAllUsed("effects.txt", Effects, EffectUses);
    }
    if (Errors) return 1;
    if (!WriteTable(argv[2])) {
        std::fprintf(stderr, "%s: cannot write\n", argv[2]);
        return 1;
    }
    PrintCounts();
    return 0;
}
