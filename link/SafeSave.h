// The one way the programs (and the simulator) write a file: the new bytes go
// to a temporary file beside the old one, are flushed to disk, and only then
// take the old file's name. A write that fails half way leaves the old file
// as it was. And the one way they read one back.
#pragma once

#include <QString>
#include <optional>
#include <string>
#include <string_view>

namespace qmr {

// Replaces the file with these bytes only once all of them are on disk;
// false, and the old file as it was, when anything fails. Where the user
// may write the file but no temporary file can be made beside it, the file
// itself is written, once the disk has given the room for the new bytes: a
// disk without that room leaves the old file as it was.
bool WriteFileSafely(const QString& path, std::string_view bytes);

// The whole file, or nothing when it cannot be read.
std::optional<std::string> ReadWholeFile(const QString& path);

}  // namespace qmr
