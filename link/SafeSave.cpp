#include "SafeSave.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>

namespace qmr {

namespace {

// Whether the user may write the file but may not create a file beside it.
bool FolderRefusesNewFiles(const QString& path) {
    const QByteArray folder = QFile::encodeName(QFileInfo(path).absolutePath());
    const QByteArray file = QFile::encodeName(path);
    return faccessat(AT_FDCWD, folder.constData(), W_OK, AT_EACCESS) != 0 && errno == EACCES &&
           faccessat(AT_FDCWD, file.constData(), W_OK, AT_EACCESS) == 0;
}

// The file itself takes the bytes. The room for them is taken first, so
// that a full disk refuses the save before any old byte is overwritten;
// where the room is not there, the file is left as it was.
bool WriteInPlace(const QString& path, std::string_view bytes) {
    const QByteArray name = QFile::encodeName(path);
    // Read access too, for the systems where reserving room means writing.
    int fd = open(name.constData(), O_RDWR | O_CLOEXEC);
    if (fd < 0) fd = open(name.constData(), O_WRONLY | O_CLOEXEC);
    if (fd < 0) return false;
    struct stat old {};
    bool ok = fstat(fd, &old) == 0;
    const auto size = static_cast<off_t>(bytes.size());
    if (ok && size > 0 && posix_fallocate(fd, 0, size) != 0) {
        // A reservation that failed half way may have lengthened the file;
        // the old bytes themselves are untouched either way.
        static_cast<void>(ftruncate(fd, old.st_size) == 0);
        close(fd);
        return false;
    }
    for (std::size_t done = 0; ok && done < bytes.size();) {
        const ssize_t n = pwrite(fd, bytes.data() + done, bytes.size() - done, static_cast<off_t>(done));
        if (n < 0 && errno == EINTR) continue;
        ok = n > 0;
        if (ok) done += static_cast<std::size_t>(n);
    }
    ok = ok && ftruncate(fd, size) == 0 && fsync(fd) == 0;
    return close(fd) == 0 && ok;
}

}  // namespace

bool WriteFileSafely(const QString& path, std::string_view bytes) {
    QSaveFile file(path);
    // Unbuffered, so a short write shows here and not only in the flush.
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered))
        return FolderRefusesNewFiles(path) && WriteInPlace(path, bytes);
    if (file.write(bytes.data(), static_cast<qint64>(bytes.size())) != static_cast<qint64>(bytes.size())) {
        file.cancelWriting();
        return false;
    }
    // Flushed and synced before the rename, so the old file goes only once
    // the new one is whole on disk.
    return file.commit();
}

std::optional<std::string> ReadWholeFile(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return std::nullopt;
    const QByteArray bytes = file.readAll();
    if (file.error() != QFileDevice::NoError) return std::nullopt;
    return bytes.toStdString();
}

}  // namespace qmr
