// Writes a SubRip file for measuring: velitra-gen-srt ENTRIES [utf8|big5] > file.srt
#include "Generate.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3 || std::atoi(argv[1]) <= 0 ||
        (argc == 3 && std::strcmp(argv[2], "utf8") != 0 && std::strcmp(argv[2], "big5") != 0)) {
        std::fprintf(stderr, "usage: velitra-gen-srt ENTRIES [utf8|big5]\n");
        return 2;
    }
    const bool big5 = argc == 3 && std::strcmp(argv[2], "big5") == 0;
    const int entries = std::atoi(argv[1]);
    std::string chunk;
    for (int k = 1; k <= entries; ++k) {
        AppendBenchEntry(chunk, k, big5);
        if (chunk.size() > (1 << 20) || k == entries) {
            if (std::fwrite(chunk.data(), 1, chunk.size(), stdout) != chunk.size()) return 1;
            chunk.clear();
        }
    }
    return std::fflush(stdout) == 0 ? 0 : 1;
}
