// Writes a WebVTT or ASS file for measuring: velitra-gen-formats vtt|ass ENTRIES > file
#include "Generate.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc != 3 || std::atoi(argv[2]) <= 0 ||
        (std::strcmp(argv[1], "vtt") != 0 && std::strcmp(argv[1], "ass") != 0)) {
        std::fprintf(stderr, "usage: velitra-gen-formats vtt|ass ENTRIES\n");
        return 2;
    }
    const bool vtt = std::strcmp(argv[1], "vtt") == 0;
    const int entries = std::atoi(argv[2]);
    std::string chunk = vtt ? "WEBVTT\n\n" : BenchAssHead();
    for (int k = 1; k <= entries; ++k) {
        AppendBenchEvent(chunk, k, vtt);
        if (chunk.size() > (1 << 20) || k == entries) {
            if (std::fwrite(chunk.data(), 1, chunk.size(), stdout) != chunk.size()) return 1;
            chunk.clear();
        }
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
