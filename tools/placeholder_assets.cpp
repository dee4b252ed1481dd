// Which placeholder files stand in for the story's pictures, music and voice clips.
// Drop a kind here once the build generates the real files of that kind.
#include "tools/placeholder_assets.h"

#include "tools/asset_lists.h"

std::vector<Placeholder> StoryPlaceholders(const std::string& dataFolder, std::string* error) {
    std::vector<PictureEntry> pictures;
    std::vector<MusicEntry> music;
    std::vector<VoiceEntry> voices;
    *error = ReadPictureList(dataFolder + "/pictures.txt", &pictures);
    if (error->empty()) *error = ReadMusicList(dataFolder + "/music.txt", &music);
    if (error->empty()) *error = ReadVoiceList(dataFolder + "/voices.txt", &voices);
    std::vector<Placeholder> out;
    for (const PictureEntry& p : pictures)
        out.push_back({Placeholder::Picture, p.file, p.width, 375 * p.bands});
    for (const MusicEntry& m : music) out.push_back({Placeholder::Music, m.file});
    for (const VoiceEntry& v : voices) out.push_back({Placeholder::Voice, v.file});
    return out;
}
