// What the fuzz targets share: a private program directory (and XDG folders) made once
// per process under $AKARI_FUZZ_TMP (else /tmp) and removed when it exits, and a file
// written there from the input's bytes. A process that is killed cannot remove its
// folder: run_all.sh gives every run a scratch parent that it removes at the end.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>

#include "platform/headless.h"

namespace fuzz {

// The program directory of this process, made on the first call, ending in '/'.
inline const std::string& Folder() {
    static std::string dir = [] {
        const char* parent = std::getenv("AKARI_FUZZ_TMP");
        std::string pattern = std::string(parent && parent[0] ? parent : "/tmp") + "/akari-fuzz-XXXXXX";
        if (!mkdtemp(pattern.data())) std::abort();
        std::string d = pattern + "/";
        setenv("XDG_CONFIG_HOME", (d + "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (d + "data").c_str(), 1);
        headless::SetProgramDirectory(d);
        return d;
    }();
    // Registered once dir is whole, so that it runs before dir is destroyed.
    static const bool removedAtExit = std::atexit([] { std::filesystem::remove_all(dir); }) == 0;
    (void)removedAtExit;
    return dir;
}

inline void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
}

}  // namespace fuzz
