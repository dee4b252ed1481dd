// Whole files: every file the program reads goes through one bounded reader that never
// blocks and takes only regular files, and a player's file is replaced without ever
// being half-written or lost to a power cut.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>

#include "base/files.h"

// Opens path for reading without waiting (a FIFO would otherwise block the open or the
// first read) and keeps it only when what it leads to, links followed, is a regular
// file: a device such as /dev/zero never ends. -1 when refused.
static int OpenRegularFile(const char* path, off_t* size) {
    if (!path) return -1;
    int fd = open(path, O_RDONLY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) return -1;
    struct stat st;
    if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode)) {
        close(fd);
        return -1;
    }
    *size = st.st_size;
    return fd;
}

// Reads at most limit + 1 bytes, so that a file longer than limit is seen to be; the
// size fstat gave is only a first guess (a file may grow while it is read).
static bool ReadUpTo(int fd, off_t sizeHint, size_t limit, std::vector<uint8_t>* bytes) {
    size_t want = limit + 1;
    size_t have = 0;
    bytes->resize(sizeHint >= 0 && size_t(sizeHint) < limit ? size_t(sizeHint) + 1 : want);
    for (;;) {
        if (have == bytes->size()) {
            if (have == want) break;
            bytes->resize(bytes->size() * 2 < want ? bytes->size() * 2 : want);
        }
        ssize_t got = read(fd, bytes->data() + have, bytes->size() - have);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return false;
        if (got == 0) break;
        have += size_t(got);
    }
    bytes->resize(have);
    return true;
}

// The file's first bytes, at most maxBytes of them; with whole, false when it holds more.
static bool ReadRegularFile(const char* path, size_t maxBytes, bool whole,
                            std::vector<uint8_t>* bytes) {
    bytes->clear();
    off_t size = 0;
    int fd = OpenRegularFile(path, &size);
    if (fd < 0) return false;
    bool ok = ReadUpTo(fd, size, maxBytes, bytes);
    close(fd);
    if (ok && bytes->size() > maxBytes) {
        ok = !whole;
        bytes->resize(maxBytes);
    }
    if (!ok) bytes->clear();
    return ok;
}

bool ReadWholeFile(const char* path, size_t maxBytes, std::vector<uint8_t>* bytes) {
    return ReadRegularFile(path, maxBytes, true, bytes);
}

bool ReadFileStart(const char* path, size_t maxBytes, std::vector<uint8_t>* bytes) {
    return ReadRegularFile(path, maxBytes, false, bytes);
}

// Each step maps the state one to one for a given word, so a changed word is never lost.
static constexpr uint64_t DigestSeed = 0x9E3779B97F4A7C15u;
static uint64_t DigestWord(uint64_t h, uint64_t word) {
    h = (h ^ word) * 0xFF51AFD7ED558CCDu;
    return h ^ (h >> 32);
}

// Whole words, then a last short one padded with zeros.
static uint64_t DigestRun(uint64_t h, const uint8_t* bytes, size_t size) {
    size_t whole = size & ~size_t(7);
    uint64_t word;
    for (size_t i = 0; i < whole; i += 8) {
        std::memcpy(&word, bytes + i, 8);
        h = DigestWord(h, word);
    }
    if (whole == size) return h;
    word = 0;
    std::memcpy(&word, bytes + whole, size - whole);
    return DigestWord(h, word);
}

uint64_t DigestBytes(const uint8_t* bytes, size_t size) {
    return DigestWord(DigestRun(DigestSeed, bytes, size), size);
}

// Fills to from fd unless the file ends first: the bytes read, or -1.
static ssize_t ReadFull(int fd, uint8_t* to, size_t size) {
    size_t have = 0;
    while (have < size) {
        ssize_t got = read(fd, to + have, size - have);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) return -1;
        if (got == 0) break;
        have += size_t(got);
    }
    return ssize_t(have);
}

bool DigestFile(const char* path, size_t maxBytes, size_t headBytes, std::vector<uint8_t>* head,
                uint64_t* digest) {
    head->clear();
    off_t size = 0;
    int fd = OpenRegularFile(path, &size);
    if (fd < 0) return false;
    head->resize(headBytes);
    ssize_t got = ReadFull(fd, head->data(), headBytes);
    head->resize(got > 0 ? size_t(got) : 0);
    // Pieces of whole words: only the last one ends in a short word.
    std::vector<uint8_t> piece(size_t(64) << 10);
    uint64_t h = DigestSeed;
    size_t total = head->size(), rest = 0;
    bool more = got == ssize_t(headBytes);  // the head is whole: the file may go on
    while (more && total <= maxBytes) {
        got = ReadFull(fd, piece.data(), piece.size());
        if (got < 0) break;
        h = DigestRun(h, piece.data(), size_t(got));
        total += size_t(got);
        rest += size_t(got);
        more = size_t(got) == piece.size();
    }
    close(fd);
    if (got < 0 || total > maxBytes) {
        head->clear();
        return false;
    }
    *digest = DigestWord(h, rest);
    return true;
}

// The steps that change the disk, counted so that a test can make one of them fail, or
// stop every step from one on as a process killed there would.
static int StepsTaken, FailingStep;
static bool StopAtFailure, Stopped;

// False for the step a test made fail and, once stopped, for every step.
static bool StepAllowed() {
    ++StepsTaken;
    if (Stopped) return false;
    if (StepsTaken != FailingStep) return true;
    Stopped = StopAtFailure;
    return false;
}

static bool WriteAll(int fd, const std::string& bytes) {
    size_t done = 0;
    while (done < bytes.size()) {
        ssize_t n = write(fd, bytes.data() + done, bytes.size() - done);
        if (n < 0 && errno == EINTR) continue;
        if (n <= 0) return false;
        done += size_t(n);
    }
    return true;
}

// The rename is recorded in the folder: flushing it makes the new name survive a
// power cut. Some file systems cannot flush a folder; the file is in place all the same.
static void FlushFolderOf(const std::string& path) {
    if (!StepAllowed()) return;
    size_t slash = path.rfind('/');
    std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
    int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);
    close(fd);
}

// unlink, never rmdir: a folder standing in a file's place is left as it is.
static bool Unlink(const std::string& path) { return StepAllowed() && unlink(path.c_str()) == 0; }

bool ReplaceFile(const char* path, const std::string& bytes) {
    std::string temporary = std::string(path) + ".tmp";
    // A leftover temporary (even a FIFO or a link placed there) is removed first; the new
    // one is created afresh and never follows a link.
    Unlink(temporary);
    int fd = StepAllowed() ? open(temporary.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_NOFOLLOW | O_CLOEXEC, 0666)
                           : -1;
    if (fd < 0) return false;
    // The data reaches the disk before the rename makes it the file: a file system that
    // does not order the two would otherwise show an empty or torn file after a crash.
    bool written = StepAllowed() && WriteAll(fd, bytes) && StepAllowed() && fsync(fd) == 0;
    written = close(fd) == 0 && written;
    if (!written || !StepAllowed() || std::rename(temporary.c_str(), path) != 0) {
        Unlink(temporary);
        return false;
    }
    FlushFolderOf(path);
    return true;
}

bool RemoveFile(const char* path) {
    if (!Unlink(path)) return false;
    FlushFolderOf(path);
    return true;
}

bool FileChangedAt(const char* path, int64_t* nanoseconds) {
    struct stat st;
    if (!path || stat(path, &st) != 0 || !S_ISREG(st.st_mode)) return false;
    *nanoseconds = int64_t(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
    return true;
}

void FailFileStepForTest(int step, bool stop) {
    StepsTaken = 0;
    FailingStep = step;
    StopAtFailure = stop;
    Stopped = false;
}

int FileStepsForTest() { return StepsTaken; }
