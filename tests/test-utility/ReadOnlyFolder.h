// A folder where no file may be created, holding one file that may be
// written, as a user who is not root meets it: root acts as nobody while
// one lives.
#pragma once

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QByteArray>
#include <QFile>
#include <QString>
#include <string>

#include <gtest/gtest.h>

class ReadOnlyFolder {
public:
    ReadOnlyFolder(const QString& parent, const QString& fileName, const std::string& bytes)
        : path_(parent + "/ro"), file_(path_ + "/" + fileName) {
        EXPECT_EQ(mkdir(Native(path_), 0755), 0);
        const int fd = open(Native(file_), O_CREAT | O_WRONLY, 0644);
        EXPECT_GE(fd, 0);
        EXPECT_EQ(write(fd, bytes.data(), bytes.size()), static_cast<ssize_t>(bytes.size()));
        close(fd);
        if (geteuid() == 0) {
            EXPECT_EQ(chmod(Native(parent), 0755), 0);
            EXPECT_EQ(chown(Native(path_), Nobody, Nobody), 0);
            EXPECT_EQ(chown(Native(file_), Nobody, Nobody), 0);
        }
        EXPECT_EQ(chmod(Native(path_), 0555), 0);
        if (geteuid() == 0) actingAsNobody_ = setegid(Nobody) == 0 && seteuid(Nobody) == 0;
    }
    ~ReadOnlyFolder() {
        if (actingAsNobody_) {
            EXPECT_EQ(seteuid(0), 0);
            EXPECT_EQ(setegid(0), 0);
        }
        chmod(Native(path_), 0755);
    }
    ReadOnlyFolder(const ReadOnlyFolder&) = delete;
    ReadOnlyFolder& operator=(const ReadOnlyFolder&) = delete;

    QString File() const { return file_; }
    // Whether the folder does refuse new files here.
    bool Refuses() const {
        const QString probe = path_ + "/probe";
        const int fd = open(Native(probe), O_CREAT | O_WRONLY, 0644);
        if (fd < 0) return true;
        close(fd);
        unlink(Native(probe));
        return false;
    }

private:
    static constexpr uid_t Nobody = 65534;
    static const char* Native(const QString& path) {
        static thread_local QByteArray bytes;
        bytes = QFile::encodeName(path);
        return bytes.constData();
    }
    QString path_;
    QString file_;
    bool actingAsNobody_ = false;
};
