// The one way the programs (and the simulator) write a file: the new bytes go
// to a temporary file beside the old one, are flushed to disk, and only then
// take the old file's name. A write that fails half way leaves the old file
// as it was.
#pragma once

#include <QString>
#include <string_view>

namespace qmr {

// Replaces the file with these bytes only once all of them are on disk;
// false, and the old file as it was, when anything fails. Where no temporary
// file can be made beside it, the file itself is written, and false tells of
// any failure.
bool WriteFileSafely(const QString& path, std::string_view bytes);

}  // namespace qmr
