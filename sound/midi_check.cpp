// Checks a Standard MIDI File's structure on the game thread before the synthesizer's
// player sees it: the player parses on the audio thread, and a looping player whose
// file does not parse, or lasts no time at all, would spin there for ever.
#include <cstdint>
#include <cstring>

#include "sound/music_state.h"

namespace kaMusic {

struct MidiReader {
    const uint8_t* at;
    const uint8_t* end;
    bool ok = true;

    uint32_t Byte() {
        if (at >= end) { ok = false; return 0; }
        return *at++;
    }
    uint32_t BigEndian(int bytes) {
        uint32_t value = 0;
        while (bytes--) value = value << 8 | Byte();
        return value;
    }
    // A variable-length quantity: at most four bytes of seven bits.
    uint32_t Quantity() {
        uint32_t value = 0;
        for (int i = 0; i < 4; ++i) {
            uint32_t b = Byte();
            value = value << 7 | (b & 0x7F);
            if (!(b & 0x80)) return value;
        }
        ok = false;
        return 0;
    }
    void Skip(uint32_t count) {
        if (count > uint32_t(end - at)) { ok = false; at = end; return; }
        at += count;
    }
};

// Walks one track's events; returns its length in ticks, or -1 when it is malformed.
static int64_t TrackTicks(const uint8_t* begin, const uint8_t* end) {
    MidiReader track{begin, end};
    int64_t ticks = 0;
    uint32_t runningStatus = 0;
    while (track.ok && track.at < track.end) {
        ticks += track.Quantity();
        uint32_t status = track.Byte();
        if (status < 0x80) {  // running status: this byte is the first data byte
            if (!runningStatus) return -1;
            --track.at;
            status = runningStatus;
        }
        if (status < 0xF0) {
            runningStatus = status;
            uint32_t kind = status & 0xF0;
            track.Skip(kind == 0xC0 || kind == 0xD0 ? 1 : 2);
        } else if (status == 0xFF) {
            uint32_t type = track.Byte();
            track.Skip(track.Quantity());
            if (type == 0x2F) return track.ok ? ticks : -1;
        } else if (status == 0xF0 || status == 0xF7) {
            track.Skip(track.Quantity());
        } else {
            return -1;
        }
    }
    return track.ok ? ticks : -1;
}

bool IsPlayableMidi(const std::vector<uint8_t>& bytes) {
    const uint8_t* data = bytes.data();
    MidiReader file{data, data + bytes.size()};
    if (bytes.size() < 14 || std::memcmp(data, "MThd", 4) != 0) return false;
    file.Skip(4);
    uint32_t headerLength = file.BigEndian(4);
    const uint8_t* afterHeader = file.at;
    file.BigEndian(2);  // format
    uint32_t trackCount = file.BigEndian(2);
    uint32_t division = file.BigEndian(2);
    if (headerLength < 6 || trackCount == 0 || division == 0) return false;
    file.at = afterHeader;
    file.Skip(headerLength);

    uint32_t tracksFound = 0;
    int64_t longest = 0;
    while (file.ok && tracksFound < trackCount) {
        const uint8_t* id = file.at;
        file.Skip(4);
        uint32_t length = file.BigEndian(4);
        const uint8_t* body = file.at;
        file.Skip(length);
        if (!file.ok) return false;
        if (std::memcmp(id, "MTrk", 4) != 0) continue;
        int64_t ticks = TrackTicks(body, body + length);
        if (ticks < 0) return false;
        if (ticks > longest) longest = ticks;
        ++tracksFound;
    }
    return tracksFound == trackCount && longest > 0;
}

}  // namespace kaMusic
