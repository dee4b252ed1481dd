#include "tools/placeholder_assets.h"

#include "tools/asset_lists.h"

std::vector<Placeholder> StoryPlaceholders(const std::string& dataFolder, std::string* error) {
    std::vector<PictureEntry> pictures;
    *error = ReadPictureList(dataFolder + "/pictures.txt", &pictures);
    std::vector<Placeholder> out;
    for (const PictureEntry& p : pictures) out.push_back({p.file, p.width, 375 * p.bands});
    return out;
}
