#pragma once
// The previous version of a file, kept before it is overwritten: in a folder of its own under the
// backups folder (one per file, named after it), the newest few kept, the oldest dropped.
#include <string>

// The folder that holds the backups of the file at path.
std::string BackupFolderFor(const std::string& root, const std::string& path);
// Copies the file into its backup folder under root, named after it and the moment (local time,
// to the millisecond), and keeps the newest keep backups of it. False, with why, when the copy
// cannot be made; nothing is dropped then. A file that does not exist needs no backup: true.
bool BackupFile(const std::string& path, const std::string& root, int keep, std::string* why);
