// Whole files: the one bounded reader of every file the program reads, and the one
// writer that replaces a player's file without ever leaving it half-written.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Both readers open without blocking, refuse what does not lead (links followed) to a
// regular file, and read within a bound. Called by every module that reads a file: the
// pictures, the clips, the MIDI files and the SoundFont's header, the saves, set.ini.
// The whole file into bytes; false (bytes empty) when it cannot be opened or read, is no
// regular file, or is larger than maxBytes.
bool ReadWholeFile(const char* path, size_t maxBytes, std::vector<uint8_t>* bytes);
// The file's first bytes, at most maxBytes (fewer when it is shorter); false (bytes
// empty) when it cannot be opened or read, or is no regular file.
bool ReadFileStart(const char* path, size_t maxBytes, std::vector<uint8_t>* bytes);
// A digest of bytes, for knowing a later read of a file for the same bytes without
// keeping them: a change within any one aligned run of eight bytes always changes it.
uint64_t DigestBytes(const uint8_t* bytes, size_t size);
// The file read a piece at a time, never held whole: its first headBytes bytes (fewer
// when it is shorter) into head, and DigestBytes of the rest into digest. False (head
// empty) as for ReadWholeFile.
bool DigestFile(const char* path, size_t maxBytes, size_t headBytes, std::vector<uint8_t>* head,
                uint64_t* digest);
// Replaces the file with bytes: written to path + ".tmp", flushed to the disk, renamed
// over the old file and the folder flushed, so a crash, a power cut or a full disk never
// leaves it half-written. False when that failed (the old file is then untouched).
bool ReplaceFile(const char* path, const std::string& bytes);
// Removes the file (or link, FIFO...) at path and flushes its folder; a folder standing
// there is left. False when nothing was removed.
bool RemoveFile(const char* path);
// Called by the system menu and the title for a save's time: the last change of the
// regular file path leads to, in nanoseconds since 1970 (UTC); false when there is none.
bool FileChangedAt(const char* path, int64_t* nanoseconds);

// ---- Test hooks ------------------------------------------------------------------
// Every step that changes the disk (a removal, a creation, a write, a flush, a rename)
// is counted from this call on; step (1 the next) fails, and with stop it and every step
// after it do nothing, as in a process killed there. Step 0: none fails.
void FailFileStepForTest(int step, bool stop);
// The steps counted since.
int FileStepsForTest();
