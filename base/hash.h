// The one hash of the game's names and files: 64-bit FNV-1a. A spoken clip's file name,
// a script table's check in the state files and the read marks, and a state file's own
// check are made with it, so it must never change.
#pragma once
#include <cstddef>
#include <cstdint>

constexpr uint64_t HashStart = 14695981039346656037ull;

// The hash of n bytes at p, going on from h.
inline uint64_t HashBytes(const void* p, size_t n, uint64_t h = HashStart) {
    const uint8_t* bytes = static_cast<const uint8_t*>(p);
    for (size_t i = 0; i < n; ++i) h = (h ^ bytes[i]) * 1099511628211ull;
    return h;
}
