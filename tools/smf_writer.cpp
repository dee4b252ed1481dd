// A small Standard MIDI File writer (see smf_writer.h).
#include "tools/smf_writer.h"

#include <algorithm>
#include <cmath>

namespace smf {

static void Add(Track* track, uint32_t tick, int order, std::vector<uint8_t> bytes) {
    track->events.push_back(Event{tick, order, std::move(bytes)});
}

void Note(Track* track, int channel, uint32_t tick, uint32_t length, int key, int velocity) {
    uint8_t ch = uint8_t(channel & 15), k = uint8_t(std::clamp(key, 0, 127));
    Add(track, tick, 2, {uint8_t(0x90 | ch), k, uint8_t(std::clamp(velocity, 1, 127))});
    Add(track, tick + length, 0, {uint8_t(0x80 | ch), k, 0});
}

void Control(Track* track, int channel, uint32_t tick, int controller, int value) {
    Add(track, tick, 1,
        {uint8_t(0xB0 | (channel & 15)), uint8_t(controller & 127), uint8_t(std::clamp(value, 0, 127))});
}

void Program(Track* track, int channel, uint32_t tick, int program) {
    Add(track, tick, 1, {uint8_t(0xC0 | (channel & 15)), uint8_t(program & 127)});
}

void Tempo(Track* track, uint32_t tick, double beatsPerMinute) {
    auto micro = uint32_t(std::lround(60e6 / beatsPerMinute));
    Add(track, tick, 1, {0xFF, 0x51, 3, uint8_t(micro >> 16), uint8_t(micro >> 8), uint8_t(micro)});
}

static void Put32(std::vector<uint8_t>* out, uint32_t v) {
    for (int s = 24; s >= 0; s -= 8) out->push_back(uint8_t(v >> s));
}

static void PutQuantity(std::vector<uint8_t>* out, uint32_t v) {
    uint8_t groups[5];
    int n = 0;
    do groups[n++] = v & 0x7F; while (v >>= 7);
    while (n--) out->push_back(uint8_t(groups[n] | (n ? 0x80 : 0)));
}

static std::vector<uint8_t> TrackBytes(Track track, uint32_t endTick) {
    for (Event& e : track.events) e.tick = std::min(e.tick, endTick);
    // A note-on at the end would be cut at once: drop it with nothing else lost.
    track.events.erase(std::remove_if(track.events.begin(), track.events.end(),
                                      [&](const Event& e) { return e.tick == endTick && e.order == 2; }),
                       track.events.end());
    std::stable_sort(track.events.begin(), track.events.end(), [](const Event& a, const Event& b) {
        return a.tick != b.tick ? a.tick < b.tick : a.order < b.order;
    });
    std::vector<uint8_t> body;
    uint32_t at = 0;
    for (const Event& e : track.events) {
        PutQuantity(&body, e.tick - at);
        body.insert(body.end(), e.bytes.begin(), e.bytes.end());
        at = e.tick;
    }
    PutQuantity(&body, endTick - at);
    body.insert(body.end(), {0xFF, 0x2F, 0});
    std::vector<uint8_t> chunk = {'M', 'T', 'r', 'k'};
    Put32(&chunk, uint32_t(body.size()));
    chunk.insert(chunk.end(), body.begin(), body.end());
    return chunk;
}

std::vector<uint8_t> FileBytes(std::vector<Track> tracks, int division, uint32_t endTick) {
    std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1};
    file.push_back(uint8_t(tracks.size() >> 8));
    file.push_back(uint8_t(tracks.size()));
    file.push_back(uint8_t(division >> 8));
    file.push_back(uint8_t(division));
    for (const Track& t : tracks) {
        std::vector<uint8_t> chunk = TrackBytes(t, endTick);
        file.insert(file.end(), chunk.begin(), chunk.end());
    }
    return file;
}

}  // namespace smf
