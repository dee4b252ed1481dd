// A small Standard MIDI File writer: events placed by absolute tick on tracks, written
// as a format 1 file whose tracks all end together, so the file loops without a seam.
#pragma once
#include <cstdint>
#include <vector>

namespace smf {

struct Event {
    uint32_t tick;
    int order;  // at one tick: note-offs, then settings, then note-ons
    std::vector<uint8_t> bytes;
};

struct Track {
    std::vector<Event> events;
};

void Note(Track* track, int channel, uint32_t tick, uint32_t length, int key, int velocity);
void Control(Track* track, int channel, uint32_t tick, int controller, int value);
void Program(Track* track, int channel, uint32_t tick, int program);
void Tempo(Track* track, uint32_t tick, double beatsPerMinute);

// The whole file, division ticks to the beat. Every event is held to endTick (a note
// still sounding there ends there) and every track ends at endTick.
std::vector<uint8_t> FileBytes(std::vector<Track> tracks, int division, uint32_t endTick);

}  // namespace smf
