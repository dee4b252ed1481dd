// Checks a Standard MIDI File's structure on the game thread before the synthesizer's
// player sees it. The player parses on the audio thread; it refuses more than the file
// format allows, so this check refuses everything it refuses (measured against the
// synthesizer's loader), and a file that lasts no time at all.
#include <cstdint>
#include <cstring>

#include "sound/music_state.h"

namespace kaMusic {

// The player keeps at most 127 tracks and reads the track count's high byte wrongly.
constexpr uint32_t MaxTracks = 127;
// It reads a track's length as a signed number, so from here on a track is empty, and
// refuses a track whose end would lie beyond this offset in the file.
constexpr uint32_t NegativeLength = 0x80000000u;
constexpr uint64_t LastOffset = 0x7FFFFFFFu;

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

// The meta events whose length the player insists on; -1 for any length.
static int MetaLength(uint32_t type) {
    switch (type) {
    case 0x2F: return 0;  // end of track
    case 0x51: return 3;  // tempo
    case 0x54: return 5;  // SMPTE offset
    case 0x58: return 4;  // time signature
    case 0x59: return 2;  // key signature
    default: return -1;
    }
}

// Walks one track's events; returns its length in ticks, or -1 when it is malformed.
// The player drops most meta events with their delta times, so a track without an end
// of track lasts until its last channel message; but a track cut short by the file's
// end (mustEnd) plays only when its end of track is there.
static int64_t TrackTicks(const uint8_t* begin, const uint8_t* end, bool mustEnd) {
    MidiReader track{begin, end};
    int64_t ticks = 0, lastMessage = 0;
    uint32_t runningStatus = 0;  // cleared by system exclusive and meta events
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
            for (int n = kind == 0xC0 || kind == 0xD0 ? 1 : 2; n > 0; --n)
                if (track.Byte() & 0x80) return -1;  // a data byte never has its top bit
            lastMessage = ticks;
        } else if (status == 0xFF) {
            runningStatus = 0;
            uint32_t type = track.Byte();
            uint32_t length = track.Quantity();
            int wanted = MetaLength(type);
            if (wanted >= 0 && length != uint32_t(wanted)) return -1;
            track.Skip(length);
            if (type == 0x2F) return track.ok ? ticks : -1;
        } else if (status == 0xF0) {
            runningStatus = 0;
            track.Skip(track.Quantity());
        } else {  // F7 outside a system exclusive message, and the real-time bytes
            return -1;
        }
    }
    return track.ok && !mustEnd ? lastMessage : -1;
}

bool IsPlayableMidi(const std::vector<uint8_t>& bytes) {
    const uint8_t* data = bytes.data();
    MidiReader file{data, data + bytes.size()};
    if (bytes.size() < 14 || std::memcmp(data, "MThd", 4) != 0) return false;
    file.Skip(4);
    uint32_t headerLength = file.BigEndian(4);
    uint32_t format = file.BigEndian(2);
    uint32_t trackCount = file.BigEndian(2);
    uint32_t division = file.BigEndian(2);
    // Ticks per beat only: the player cannot time a division in SMPTE frames (top bit).
    if (headerLength != 6 || format > 2 || trackCount == 0 || trackCount > MaxTracks ||
        division == 0 || (division & 0x8000))
        return false;

    int64_t longest = 0;
    for (uint32_t i = 0; i < trackCount; ++i) {
        const uint8_t* id = file.at;
        file.Skip(4);
        uint32_t length = file.BigEndian(4);
        // The player gives up on any other chunk where it looks for a track.
        if (!file.ok || std::memcmp(id, "MTrk", 4) != 0) return false;
        const uint8_t* body = file.at;
        uint32_t present = uint32_t(file.end - body);
        int64_t ticks;
        if (length <= present) {
            file.Skip(length);
            ticks = TrackTicks(body, body + length, false);
        } else {
            // A length past the file's end: the player reads the last track as far as the
            // file goes. No track can follow one that ends with the file.
            if (i + 1 < trackCount) return false;
            if (length < NegativeLength && uint64_t(body - data) + length > LastOffset)
                return false;
            file.Skip(present);
            ticks = length >= NegativeLength ? 0 : TrackTicks(body, file.end, true);
        }
        if (ticks < 0) return false;
        if (ticks > longest) longest = ticks;
    }
    return longest > 0;
}

}  // namespace kaMusic
