#include "Backup.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <ctime>
#include <filesystem>
#include <functional>
#include <system_error>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A stamp that sorts in time order as text.
std::string Stamp() {
    using namespace std::chrono;
    const auto now = system_clock::now();
    const std::time_t seconds = system_clock::to_time_t(now);
    const auto ms = duration_cast<milliseconds>(now.time_since_epoch()).count() % 1000;
    std::tm local{};
    localtime_r(&seconds, &local);
    char text[40];
    std::snprintf(text, sizeof text, "%04d%02d%02d-%02d%02d%02d-%03d", local.tm_year + 1900,
                  local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min, local.tm_sec,
                  static_cast<int>(ms));
    return text;
}

} // namespace

std::string BackupFolderFor(const std::string& root, const std::string& path) {
    std::error_code ec;
    fs::path absolute = fs::absolute(path, ec);
    if (ec) absolute = path;
    // Files of the same name in different folders keep apart by a hash of the whole path.
    char hash[24];
    std::snprintf(hash, sizeof hash, "%016zx", std::hash<std::string>{}(absolute.string()));
    return (fs::path(root) / (absolute.filename().string() + "-" + hash)).string();
}

bool BackupFile(const std::string& path, const std::string& root, int keep, std::string* why) {
    std::error_code ec;
    if (!fs::exists(path, ec)) return true;
    const fs::path folder = BackupFolderFor(root, path);
    const std::string name = fs::path(path).filename().string();
    auto fail = [&](const std::string& what) {
        if (why) *why = what;
        return false;
    };
    fs::create_directories(folder, ec);
    if (ec) return fail("cannot make the backup folder " + folder.string() + ": " + ec.message());
    // The moment, then a running number: two backups within a millisecond still sort in the
    // order they were made (a name freed by the rotation is never taken again).
    static std::atomic<unsigned> sequence{0};
    char running[16];
    std::snprintf(running, sizeof running, "%06u", sequence++ % 1000000u);
    const fs::path target = folder / (name + "." + Stamp() + "-" + running + ".bak");
    const fs::path partial = folder / ("." + name + ".partial");
    fs::copy_file(path, partial, fs::copy_options::overwrite_existing, ec);
    if (!ec) fs::rename(partial, target, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove(partial, ignored);
        return fail("cannot keep a backup in " + folder.string() + ": " + ec.message());
    }
    std::vector<fs::path> backups;
    for (const auto& entry : fs::directory_iterator(folder, ec))
        if (entry.path().extension() == ".bak") backups.push_back(entry.path());
    std::sort(backups.begin(), backups.end());
    const std::size_t kept = static_cast<std::size_t>(std::max(keep, 1));
    for (std::size_t i = 0; i + kept < backups.size(); ++i)
        fs::remove(backups[i], ec);
    return true;
}
