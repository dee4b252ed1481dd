// What the fuzz targets share: a private program directory (and XDG folders) under
// /tmp made once per process, and a file written there from the input's bytes.
#pragma once
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/headless.h"

namespace fuzz {

// The program directory of this process, made on the first call, ending in '/'.
inline const std::string& Folder() {
    static std::string dir = [] {
        char pattern[] = "/tmp/akari-fuzz-XXXXXX";
        if (!mkdtemp(pattern)) std::abort();
        std::string d = std::string(pattern) + "/";
        setenv("XDG_CONFIG_HOME", (d + "config").c_str(), 1);
        setenv("XDG_DATA_HOME", (d + "data").c_str(), 1);
        headless::SetProgramDirectory(d);
        return d;
    }();
    return dir;
}

inline void WriteFile(const std::string& path, const uint8_t* data, size_t size) {
    std::FILE* f = std::fopen(path.c_str(), "wb");
    if (!f) std::abort();
    if (size) std::fwrite(data, 1, size, f);
    std::fclose(f);
}

}  // namespace fuzz
