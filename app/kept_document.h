#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <sys/stat.h>
#include <sys/types.h>

#include <cstddef>

// The system calls a document is kept with, one for each step, so that a test can stand in
// for any one of them and fail it as a disk or a file system does. Each answers as the
// system call it is named after.
class KeepingCalls
{
public:
    virtual ~KeepingCalls() = default;

    // open(folder, O_TMPFILE): a file in the folder that has no name.
    virtual int openUnnamed(const char *folder);
    // mkostemp: a file of its own under the name the template is completed to.
    virtual int createTemporary(char *pathTemplate);
    virtual ssize_t write(int fd, const char *bytes, std::size_t size);
    virtual int fsync(int fd);
    virtual int fstat(int fd, struct stat *info);
    // linkat(AT_FDCWD, from, AT_FDCWD, to, flags): the file at `from` takes the name `to`.
    virtual int linkat(const char *from, const char *to, int flags);
    virtual int close(int fd);
};

// Keeps a document the printer could not take as a PDF in the user's documents folder, or
// the home folder when that cannot be written. Nothing is ever left half-written under any
// name, and no file that is there already is replaced: the bytes go into a file that has no
// name yet, are flushed to the disk and checked, and only then take the first free name of
// "taqwim-<date>-<time>.pdf", "taqwim-<date>-<time>-2.pdf" and so on.
//
// Returns the path kept at, or an empty one when no folder would take the document whole.
QString keepAsPdf(const QByteArray &pdf, const QDateTime &when = QDateTime::currentDateTime());
QString keepAsPdf(const QByteArray &pdf, const QDateTime &when, KeepingCalls &calls);
