// Reading data/pictures.txt, data/picture_cast.txt, data/music.txt, data/voices.txt and
// data/effects.txt.
#include "tools/asset_lists.h"

#include <cstdlib>
#include <fstream>
#include <set>
#include <sstream>

#include "story/records/script.h"

// Calls take(fields, rest) for each entry line: fields are its first `count`
// whitespace-separated words, rest the remainder without its leading blanks. A
// non-empty result of take is the line's fault.
template <typename Take>
static std::string ReadList(const std::string& path, int count, Take take) {
    std::ifstream in(path, std::ios::binary);
    if (!in) return path + ": cannot read";
    std::string text;
    std::set<std::string> files;
    for (int number = 1; std::getline(in, text); ++number) {
        if (!text.empty() && text.back() == '\r') text.pop_back();
        if (text.empty() || text[0] == '#') continue;
        std::istringstream words(text);
        std::vector<std::string> fields(static_cast<size_t>(count));
        for (std::string& field : fields) words >> field;
        std::string rest;
        std::getline(words >> std::ws, rest);
        std::string why = fields[size_t(count) - 1].empty() ? "too few fields" : take(fields, rest);
        if (why.empty() && !files.insert(fields[0]).second) why = fields[0] + " is listed twice";
        if (!why.empty()) return path + ":" + std::to_string(number) + ": " + why;
    }
    return "";
}

static bool EndsWith(const std::string& s, const char* tail) {
    std::string t(tail);
    return s.size() > t.size() && s.compare(s.size() - t.size(), t.size(), t) == 0;
}

// A whole positive number of at most five digits, else 0.
static int PositiveNumber(const std::string& s) {
    if (s.empty() || s.size() > 5 || s.find_first_not_of("0123456789") != std::string::npos)
        return 0;
    return std::atoi(s.c_str());
}

std::string ReadPictureList(const std::string& path, std::vector<PictureEntry>* out) {
    return ReadList(path, 3, [&](const std::vector<std::string>& f, const std::string& rest) {
        PictureEntry e;
        e.file = f[0];
        if (!EndsWith(e.file, ".sad")) return std::string("a picture file ends in .sad");
        if (f[1][0] == 'w') {
            e.width = PositiveNumber(f[1].substr(1));
            if (e.width < layout::Band.width) return std::string("a width is w500 or more");
        } else {
            e.bands = PositiveNumber(f[1]);
            // Pictures are at most 32767 rows high.
            if (e.bands < 1 || e.bands > 32767 / layout::Band.height) return std::string("bad band count");
        }
        if (f[2] != "swave" && f[2] != "-") return std::string("keyed is swave or -");
        e.waved = f[2] == "swave";
        if (rest.empty()) return std::string("the description is missing");
        out->push_back(e);
        return std::string();
    });
}

std::string ReadCastList(const std::string& path, std::vector<CastEntry>* out) {
    return ReadList(path, 4, [&](const std::vector<std::string>& f, const std::string& rest) {
        static const char* const shots[] = {"place", "sight", "memory", "card"};
        static const char* const skies[] = {"snow", "still", "-"};
        CastEntry e;
        e.file = f[0];
        int shot = 0, sky = 0;
        while (shot < 4 && f[1] != shots[shot]) ++shot;
        while (sky < 3 && f[3] != skies[sky]) ++sky;
        if (shot == 4) return std::string("the shot is place, sight, memory or card");
        if (sky == 3) return std::string("the sky is snow, still or -");
        if (!rest.empty()) return std::string("more than four fields");
        e.shot = Shot(shot), e.sky = Sky(sky);
        if (f[2] != "-") {
            std::istringstream names(f[2]);
            for (std::string name; std::getline(names, name, ',');) e.people.push_back(name);
        }
        out->push_back(e);
        return std::string();
    });
}

std::string ReadMusicList(const std::string& path, std::vector<MusicEntry>* out) {
    return ReadList(path, 1, [&](const std::vector<std::string>& f, const std::string& rest) {
        if (!EndsWith(f[0], ".mid")) return std::string("a piece of music ends in .mid");
        if (rest.empty()) return std::string("mood, tempo and place are missing");
        out->push_back({f[0]});
        return std::string();
    });
}

std::string ReadVoiceList(const std::string& path, std::vector<VoiceEntry>* out) {
    return ReadList(path, 2, [&](const std::vector<std::string>& f, const std::string& rest) {
        // The narration's readings: no clip the script plays (the voice tool checks them).
        if (f[1] == "narrator") return std::string();
        if (f[1] != "minato" && f[1] != "sayo" && f[1] != "announce")
            return std::string("the speaker is minato, sayo or announce");
        if (f[0].rfind("v_" + f[1] + "_", 0) != 0 || !EndsWith(f[0], ".sad"))
            return "a clip of " + f[1] + " is named v_" + f[1] + "_NNN.sad";
        out->push_back({f[0], f[1], rest});
        return std::string();
    });
}

std::string ReadEffectList(const std::string& path, std::vector<EffectEntry>* out) {
    return ReadList(path, 1, [&](const std::vector<std::string>& f, const std::string& rest) {
        if (!IsEffectClip(f[0].c_str()) || !EndsWith(f[0], ".sad") || f[0].size() > 30)
            return std::string("an effect is named se_<name>.sad, in at most 30 bytes");
        if (rest.empty()) return std::string("what it is and where the text names it are missing");
        out->push_back({f[0]});
        return std::string();
    });
}
