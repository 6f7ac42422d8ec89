#pragma once
// The sounds of films already read, kept in a cache folder so that a film opened again shows its
// sound at once. A film is known by its path, size and modification time: a film changed on
// disk is read again. The folder keeps at most a limit of bytes; the entries used longest ago
// leave first.
#include "Waveform.h"

#include <cstdint>
#include <optional>
#include <string>

class TSoundCache {
public:
    static constexpr uint64_t kDefaultLimit = uint64_t{1} << 30; // 1 GB

    explicit TSoundCache(std::string folder, uint64_t limitBytes = kDefaultLimit);

    // The film's sound as stored, or nothing when it is not there (or the film changed since).
    std::optional<TSound> Load(const std::string& filmPath) const;
    // Keeps the film's sound, then trims the folder to its limit. False, with why, when it
    // cannot be written; the folder is left as it was then.
    bool Store(const std::string& filmPath, const TSound& sound, std::string* why = nullptr) const;

    const std::string& Folder() const { return folder_; }

private:
    // The file that holds the film's entry and the key written into it; false when the film
    // cannot be looked at.
    bool Locate(const std::string& filmPath, std::string* file, std::string* key) const;
    void Trim() const;

    std::string folder_;
    uint64_t limit_;
};
