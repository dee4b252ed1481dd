// Picture assets in four BMP layouts. Palettes come from a median cut of the picture's
// colours; pictures with more colours than the palette holds are mapped with
// Floyd-Steinberg error diffusion so their gradients stay smooth.
#include "tools/pictures/bmp_writer.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <cstdio>

#include "base/little_endian.h"

namespace art {

static int Channel(uint32_t c, int i) { return int((c >> (16 - 8 * i)) & 255); }

namespace {
// A box of the median cut over 5-bit-per-channel colour buckets.
struct Box {
    std::vector<int> buckets;
    long weight;
};
}  // namespace

// Up to `slots` colours for the picture, the key colour (if any) left out.
static std::vector<uint32_t> MedianCut(const Image& image, int slots, bool keyed, uint32_t key) {
    std::vector<long> count(32768, 0);
    std::vector<std::array<long, 3>> sum(32768, {0, 0, 0});
    for (uint32_t p : image.pixels) {
        if (keyed && p == key) continue;
        int b = (Channel(p, 0) >> 3) << 10 | (Channel(p, 1) >> 3) << 5 | Channel(p, 2) >> 3;
        ++count[b];
        for (int i = 0; i < 3; ++i) sum[b][i] += Channel(p, i);
    }
    std::vector<Box> boxes(1);
    for (int b = 0; b < 32768; ++b)
        if (count[b]) boxes[0].buckets.push_back(b), boxes[0].weight += count[b];
    auto level = [](int b, int ch) { return (b >> (10 - 5 * ch)) & 31; };
    while (int(boxes.size()) < slots) {
        // Split the box whose colours spread widest, weighted by how many pixels it holds.
        int best = -1, bestChannel = 0;
        double bestScore = 0;
        for (size_t i = 0; i < boxes.size(); ++i) {
            if (boxes[i].buckets.size() < 2) continue;
            for (int ch = 0; ch < 3; ++ch) {
                int lo = 31, hi = 0;
                for (int b : boxes[i].buckets) lo = std::min(lo, level(b, ch)), hi = std::max(hi, level(b, ch));
                double score = double(hi - lo) * (ch == 1 ? 1.2 : 1.0) * std::sqrt(double(boxes[i].weight));
                if (score > bestScore) bestScore = score, best = int(i), bestChannel = ch;
            }
        }
        if (best < 0) break;
        Box& box = boxes[size_t(best)];
        std::sort(box.buckets.begin(), box.buckets.end(),
                  [&](int a, int b) { return level(a, bestChannel) < level(b, bestChannel); });
        long half = 0;
        size_t cut = 0;
        while (cut + 1 < box.buckets.size() && half + count[box.buckets[cut]] <= box.weight / 2)
            half += count[box.buckets[cut++]];
        if (cut == 0) cut = 1;
        Box other{std::vector<int>(box.buckets.begin() + long(cut), box.buckets.end()), 0};
        box.buckets.resize(cut);
        box.weight = 0;
        for (int b : box.buckets) box.weight += count[b];
        for (int b : other.buckets) other.weight += count[b];
        boxes.push_back(std::move(other));
    }
    std::vector<uint32_t> palette;
    for (const Box& box : boxes) {
        if (!box.weight) continue;
        std::array<long, 3> s{0, 0, 0};
        for (int b : box.buckets)
            for (int i = 0; i < 3; ++i) s[i] += sum[b][i];
        uint32_t c = 0;
        for (int i = 0; i < 3; ++i) c = c << 8 | uint32_t((s[i] + box.weight / 2) / box.weight);
        if (keyed && c == key) c ^= 1;  // only the key's own entry may hold the key
        palette.push_back(c);
    }
    return palette;
}

// Indices into `palette` for every pixel (top row first); entry 0 is the key if keyed.
static std::vector<uint8_t> MapToPalette(const Image& image, std::vector<uint32_t>& palette, int slots,
                                         bool keyed) {
    uint32_t key = image.pixels[0];
    std::vector<uint32_t> colours = MedianCut(image, slots - (keyed ? 1 : 0), keyed, key);
    palette.clear();
    if (keyed) palette.push_back(key);
    int first = int(palette.size());
    palette.insert(palette.end(), colours.begin(), colours.end());
    if (int(palette.size()) == first) palette.push_back(0);

    std::vector<int> nearestCache(1 << 18, -1);
    auto nearest = [&](int r, int g, int b) {
        int cell = (r >> 2) << 12 | (g >> 2) << 6 | (b >> 2);
        if (nearestCache[size_t(cell)] >= 0) return nearestCache[size_t(cell)];
        int best = first;
        long bestD = 1L << 40;
        for (int i = first; i < int(palette.size()); ++i) {
            long dr = r - Channel(palette[i], 0), dg = g - Channel(palette[i], 1), db = b - Channel(palette[i], 2);
            long d = dr * dr * 3 + dg * dg * 4 + db * db * 2;
            if (d < bestD) bestD = d, best = i;
        }
        return nearestCache[size_t(cell)] = best;
    };
    // Few colours (flat drawings) map straight; many are diffused.
    bool diffuse = colours.size() >= size_t(slots - (keyed ? 1 : 0));
    int w = image.width, h = image.height;
    std::vector<uint8_t> out(size_t(w) * h);
    std::vector<std::array<float, 3>> err(size_t(w + 2) * 2, {0, 0, 0});
    for (int y = 0; y < h; ++y) {
        std::array<float, 3>* cur = &err[size_t(y & 1) * (w + 2) + 1];
        std::array<float, 3>* next = &err[size_t((y + 1) & 1) * (w + 2) + 1];
        for (int x = -1; x <= w; ++x) next[x] = {0, 0, 0};
        bool reverse = y & 1;
        for (int i = 0; i < w; ++i) {
            int x = reverse ? w - 1 - i : i, step = reverse ? -1 : 1;
            uint32_t p = image.pixels[size_t(y) * w + x];
            if (keyed && p == key) {
                out[size_t(y) * w + x] = 0;
                continue;
            }
            int c[3];
            for (int ch = 0; ch < 3; ++ch)
                c[ch] = std::clamp(int(float(Channel(p, ch)) + (diffuse ? cur[x][ch] : 0.f) + 0.5f), 0, 255);
            int index = nearest(c[0], c[1], c[2]);
            out[size_t(y) * w + x] = uint8_t(index);
            if (!diffuse) continue;
            for (int ch = 0; ch < 3; ++ch) {
                float e = float(c[ch] - Channel(palette[size_t(index)], ch));
                cur[x + step][ch] += e * 7 / 16;
                next[x - step][ch] += e * 3 / 16;
                next[x][ch] += e * 5 / 16;
                next[x + step][ch] += e * 1 / 16;
            }
        }
    }
    return out;
}

static void RleRow(std::vector<uint8_t>& b, const uint8_t* row, int w) {
    int i = 0;
    while (i < w) {
        int run = 1;
        while (i + run < w && run < 255 && row[i + run] == row[i]) ++run;
        if (run >= 3 || w - i < 3) {
            b.push_back(uint8_t(run));
            b.push_back(row[i]);
            i += run;
            continue;
        }
        // A literal stretch: up to the next run of three or more.
        int n = 0;
        while (i + n < w && n < 255) {
            if (i + n + 2 < w && row[i + n] == row[i + n + 1] && row[i + n] == row[i + n + 2]) break;
            ++n;
        }
        if (n < 3) {
            for (int k = 0; k < n; ++k) b.push_back(1), b.push_back(row[i + k]);
        } else {
            b.push_back(0);
            b.push_back(uint8_t(n));
            b.insert(b.end(), row + i, row + i + n);
            if (n & 1) b.push_back(0);
        }
        i += n;
    }
    b.push_back(0);
    b.push_back(0);  // end of line
}

std::vector<uint8_t> EncodeSad(const Image& image, Format format, bool keyed) {
    int w = image.width, h = image.height;
    int bpp = format == Format::Rgb24 ? 24 : format == Format::Palette4 ? 4 : 8;
    std::vector<uint32_t> palette;
    std::vector<uint8_t> indices;
    if (bpp <= 8) indices = MapToPalette(image, palette, 1 << bpp, keyed);

    std::vector<uint8_t> bits;
    if (format == Format::Rle8) {
        for (int y = h - 1; y >= 0; --y) RleRow(bits, &indices[size_t(y) * w], w);
        bits.back() = 1;  // the last end of line becomes the end of the picture
    } else {
        size_t rowBytes = (size_t(w) * bpp + 31) / 32 * 4;
        for (int y = h - 1; y >= 0; --y) {
            std::vector<uint8_t> row(rowBytes, 0);
            for (int x = 0; x < w; ++x) {
                size_t i = size_t(y) * w + x;
                if (bpp == 24) {
                    uint32_t p = image.pixels[i];
                    row[size_t(x) * 3] = uint8_t(p), row[size_t(x) * 3 + 1] = uint8_t(p >> 8);
                    row[size_t(x) * 3 + 2] = uint8_t(p >> 16);
                } else if (bpp == 8) {
                    row[size_t(x)] = indices[i];
                } else {
                    row[size_t(x) / 2] |= uint8_t(indices[i] << (x & 1 ? 0 : 4));
                }
            }
            bits.insert(bits.end(), row.begin(), row.end());
        }
    }
    uint32_t tableBytes = uint32_t(palette.size()) * 4, offset = 54 + tableBytes;
    std::vector<uint8_t> b = {' ', ' '};
    Put32(b, offset + uint32_t(bits.size()));
    Put32(b, 0);
    Put32(b, offset);
    Put32(b, 40);
    Put32(b, uint32_t(w));
    Put32(b, uint32_t(h));
    Put16(b, 1);
    Put16(b, uint32_t(bpp));
    Put32(b, format == Format::Rle8 ? 1 : 0);
    Put32(b, uint32_t(bits.size()));
    Put32(b, 2835);
    Put32(b, 2835);
    Put32(b, uint32_t(palette.size()));
    Put32(b, 0);
    for (uint32_t c : palette) Put32(b, c);  // blue, green, red, 0
    b.insert(b.end(), bits.begin(), bits.end());
    return b;
}

bool WriteBytes(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) return false;
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
    return std::fclose(f) == 0 && ok;
}

bool WriteBmp(const std::string& path, const Image& image) {
    std::vector<uint8_t> b = EncodeSad(image, Format::Rgb24, false);
    b[0] = 'B', b[1] = 'M';
    return WriteBytes(path, b);
}

}  // namespace art
