#include "SafeSave.h"

#include <QSaveFile>

namespace qmr {

bool WriteFileSafely(const QString& path, std::string_view bytes) {
    QSaveFile file(path);
    // A file the user may write in a folder where no file may be created
    // is written in place: the old file is then gone if the write fails,
    // but the failure is still told.
    file.setDirectWriteFallback(true);
    // Unbuffered, so a short write shows here and not only in the flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered)) return false;
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        file.cancelWriting();
        return false;
    }
    // Flushed and synced before the rename, so the old file goes only once
    // the new one is whole on disk.
    return file.commit();
}

}  // namespace qmr
