// Typefaces for the text layer: the table of installed families, the lookup of a
// requested face name to a font file through fontconfig, and the faces that stand in
// for the characters a face lacks.
#include <fontconfig/fontconfig.h>

#include <cstring>
#include <unordered_map>

#include "base/start_up_task.h"
#include "draw/sjis.h"
#include "draw/text_engine.h"

namespace kaDraw {

FontEntry FontTable[FontTableSize];
int FontTableCount = 0;

struct FaceSlot {
    bool used;
    char request[32];      // CP932 name asked for; empty for a fallback face
    char file[512];
    int index;
    const char* coverage;  // fontconfig pattern its fallback faces are nearest to
};
static FaceSlot FaceSlots[FaceSlotCount];

// The fallback slot found for a face and a character (-1: none), by face slot << 32 |
// code: each is asked of fontconfig once.
static std::unordered_map<uint64_t, int> FallbackFound;

// The two faces the game asks for, as UTF-8, with the installed faces that stand in
// for them and the fontconfig pattern to fall back to.
struct FaceMapping {
    const char* asked;
    const char* standIn;
    const char* fallback;
};
static const FaceMapping FaceMappings[] = {
    {"ＭＳ Ｐゴシック", "IPAPGothic", "sans-serif:lang=ja"},
    {"ＭＳ Ｐ明朝", "IPAPMincho", "serif:lang=ja"},
};
// Without lang=ja fontconfig may answer with a face that has no Japanese glyphs.
static const char* const DefaultFallback = "sans-serif:lang=ja";

static bool EnsureFontconfig() {
    static bool ready = FcInit() == FcTrue;
    return ready;
}

// Copies a family name into a table entry: its CP932 form, else its UTF-8 bytes cut at a
// character boundary.
static void StoreFamilyName(const char* utf8, char (&name)[36]) {
    if (Utf8ToSjis(utf8, name, sizeof name)) return;
    size_t n = std::strlen(utf8);
    if (n > sizeof name - 1) {
        n = sizeof name - 1;
        while (n > 0 && (uint8_t(utf8[n]) & 0xC0) == 0x80) --n;
    }
    std::memcpy(name, utf8, n);
    name[n] = 0;
}

static bool FontTableHas(const char* name) {
    for (int i = 0; i < FontTableCount; ++i)
        if (std::strcmp(FontTable[i].name, name) == 0) return true;
    return false;
}

// fontconfig's start (reading its configuration and caches) takes tens of milliseconds
// and the first frames show no text: InitText gives the table's filling to a start-up
// task, done on a thread of its own once the first frame is out, and everything here
// that reads the table or asks fontconfig waits for it first.
static StartUpTask FontCollector;

static void FillFontTable() {
    std::memset(FontTable, 0, sizeof FontTable);
    FontTableCount = 0;
    if (!EnsureFontconfig()) return;
    FcPattern* all = FcPatternCreate();
    FcObjectSet* fields = FcObjectSetBuild(FC_FAMILY, FC_LANG, nullptr);
    FcFontSet* fonts = FcFontList(nullptr, all, fields);
    for (int f = 0; fonts && f < fonts->nfont && FontTableCount < FontTableSize; ++f) {
        FcPattern* font = fonts->fonts[f];
        FcLangSet* langs = nullptr;
        bool japanese = FcPatternGetLangSet(font, FC_LANG, 0, &langs) == FcResultMatch &&
                        FcLangSetHasLang(langs, reinterpret_cast<const FcChar8*>("ja")) ==
                            FcLangEqual;
        FcChar8* family = nullptr;
        for (int i = 0; FontTableCount < FontTableSize &&
                        FcPatternGetString(font, FC_FAMILY, i, &family) == FcResultMatch;
             ++i) {
            FontEntry entry{};
            StoreFamilyName(reinterpret_cast<const char*>(family), entry.name);
            if (!entry.name[0] || FontTableHas(entry.name)) continue;
            entry.charSet = japanese ? 128 : 0;
            FontTable[FontTableCount++] = entry;
        }
    }
    if (fonts) FcFontSetDestroy(fonts);
    FcObjectSetDestroy(fields);
    FcPatternDestroy(all);
}

void StartCollectingFonts() { StartTask(&FontCollector, FillFontTable); }

void AwaitInstalledFonts() { AwaitTask(&FontCollector); }

void CollectInstalledFonts() {
    AwaitInstalledFonts();
    FillFontTable();
}

// Copies a font's file and face index into a slot; false when it names no file that fits.
static bool TakeFontFile(FcPattern* font, FaceSlot* slot) {
    FcChar8* file = nullptr;
    int index = 0;
    if (FcPatternGetString(font, FC_FILE, 0, &file) != FcResultMatch ||
        std::strlen(reinterpret_cast<const char*>(file)) >= sizeof slot->file)
        return false;
    FcPatternGetInteger(font, FC_INDEX, 0, &index);
    std::strcpy(slot->file, reinterpret_cast<const char*>(file));
    slot->index = index;
    return true;
}

// fontconfig's best match for a pattern: its file and face index. With exactFamily the
// match only counts when one of its family names is the one asked for.
static bool MatchFont(FcPattern* pattern, const char* exactFamily, FaceSlot* slot) {
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    bool found = false;
    if (match) {
        FcChar8* family = nullptr;
        bool familyOk = !exactFamily;
        for (int i = 0; !familyOk &&
                        FcPatternGetString(match, FC_FAMILY, i, &family) == FcResultMatch;
             ++i)
            familyOk = std::strcmp(reinterpret_cast<const char*>(family), exactFamily) == 0;
        found = familyOk && TakeFontFile(match, slot);
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return found;
}

static bool MatchFamily(const char* family, FaceSlot* slot) {
    FcPattern* pattern = FcPatternCreate();
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    return MatchFont(pattern, family, slot);
}

static bool MatchFallback(const char* name, FaceSlot* slot) {
    FcPattern* pattern = FcNameParse(reinterpret_cast<const FcChar8*>(name));
    return pattern && MatchFont(pattern, nullptr, slot);
}

// An empty or unknown name still finds a face: the Japanese sans-serif.
static bool ResolveFace(const char* faceCp932, FaceSlot* slot) {
    char utf8[128];
    SjisToUtf8(faceCp932, utf8, sizeof utf8);
    slot->coverage = DefaultFallback;
    for (const FaceMapping& m : FaceMappings)
        if (std::strcmp(utf8, m.asked) == 0) slot->coverage = m.fallback;
    if (utf8[0] && MatchFamily(utf8, slot)) return true;
    for (const FaceMapping& m : FaceMappings)
        if (std::strcmp(utf8, m.asked) == 0 && MatchFamily(m.standIn, slot)) return true;
    return MatchFallback(slot->coverage, slot);
}

int FindFace(const char* faceCp932) {
    AwaitInstalledFonts();
    int free = -1;
    for (int i = 0; i < NamedFaceSlots; ++i) {
        if (!FaceSlots[i].used) {
            if (free < 0) free = i;
            continue;
        }
        if (std::strncmp(FaceSlots[i].request, faceCp932, sizeof FaceSlots[i].request) == 0)
            return i;
    }
    // With every slot taken by other names, the first slot's face serves: some face
    // is better than no text at all.
    if (free < 0) return 0;
    if (!EnsureFontconfig()) return -1;
    FaceSlot found{};
    found.used = true;
    std::strncpy(found.request, faceCp932, sizeof found.request - 1);
    if (!ResolveFace(faceCp932, &found)) return -1;
    FaceSlots[free] = found;
    return free;
}

// The first outline font, in fontconfig's order of nearness to pattern, whose
// character set has code.
static bool MatchCoverage(const char* pattern, uint32_t code, FaceSlot* slot) {
    FcPattern* wanted = FcNameParse(reinterpret_cast<const FcChar8*>(pattern));
    if (!wanted) return false;
    FcCharSet* chars = FcCharSetCreate();
    FcCharSetAddChar(chars, code);
    FcPatternAddCharSet(wanted, FC_CHARSET, chars);
    FcCharSetDestroy(chars);
    FcConfigSubstitute(nullptr, wanted, FcMatchPattern);
    FcDefaultSubstitute(wanted);
    FcResult result;
    FcFontSet* sorted = FcFontSort(nullptr, wanted, FcFalse, nullptr, &result);
    bool found = false;
    for (int f = 0; sorted && !found && f < sorted->nfont; ++f) {
        FcPattern* font = sorted->fonts[f];
        FcCharSet* has = nullptr;
        FcBool outline = FcTrue;
        FcPatternGetBool(font, FC_OUTLINE, 0, &outline);
        found = outline && FcPatternGetCharSet(font, FC_CHARSET, 0, &has) == FcResultMatch &&
                FcCharSetHasChar(has, code) && TakeFontFile(font, slot);
    }
    if (sorted) FcFontSetDestroy(sorted);
    FcPatternDestroy(wanted);
    return found;
}

// The fallback slot of the face in a font file, taking a free one on first use; -1
// when all are taken by other files.
static int FallbackSlotFor(const FaceSlot& found) {
    for (int i = NamedFaceSlots; i < FaceSlotCount; ++i) {
        FaceSlot& slot = FaceSlots[i];
        if (!slot.used) {
            slot = found;
            slot.used = true;
            return i;
        }
        if (std::strcmp(slot.file, found.file) == 0 && slot.index == found.index) return i;
    }
    return -1;
}

// Codes no other face is asked for: controls, which no face draws, and the private use
// area, whose codes mean nothing outside the fonts that define them.
static bool NeverLookedUp(uint32_t code) {
    return code < 0x20 || (code >= 0x7F && code < 0xA0) || (code >= 0xE000 && code <= 0xF8FF);
}

int FallbackFace(int faceSlot, uint32_t code) {
    if (faceSlot < 0 || faceSlot >= NamedFaceSlots || !FaceSlots[faceSlot].used ||
        NeverLookedUp(code))
        return -1;
    const uint64_t key = uint64_t(faceSlot) << 32 | code;
    auto known = FallbackFound.find(key);
    if (known != FallbackFound.end()) return known->second;
    AwaitInstalledFonts();
    FaceSlot found{};
    int slot = -1;
    if (EnsureFontconfig() && MatchCoverage(FaceSlots[faceSlot].coverage, code, &found))
        slot = FallbackSlotFor(found);
    FallbackFound.emplace(key, slot);
    return slot;
}

const char* FaceFile(int slot) {
    return slot >= 0 && slot < FaceSlotCount ? FaceSlots[slot].file : "";
}

int FaceIndex(int slot) {
    return slot >= 0 && slot < FaceSlotCount ? FaceSlots[slot].index : 0;
}

void ReleaseFaces() {
    std::memset(FaceSlots, 0, sizeof FaceSlots);
    FallbackFound.clear();
    std::memset(FontTable, 0, sizeof FontTable);
    FontTableCount = 0;
}

}  // namespace kaDraw
