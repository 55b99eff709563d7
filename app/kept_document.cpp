#include "kept_document.h"

#include <QDir>
#include <QStandardPaths>

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <utility>

namespace {

constexpr int MostNamesTried = 1000;

class Descriptor
{
public:
    Descriptor(int fd, KeepingCalls &calls) : m_fd(fd), m_calls(calls) { }
    ~Descriptor()
    {
        if (m_fd >= 0)
            m_calls.close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Some file systems tell of a failed write only when the file is closed.
    bool close() { return m_calls.close(std::exchange(m_fd, -1)) == 0; }

private:
    int m_fd;
    KeepingCalls &m_calls;
};

bool writeAll(KeepingCalls &calls, int fd, const QByteArray &bytes)
{
    const char *next = bytes.constData();
    for (qsizetype left = bytes.size(); left > 0;) {
        const ssize_t written = calls.write(fd, next, std::size_t(left));
        if (written < 0 && errno == EINTR)
            continue;
        if (written <= 0)
            return false;
        next += written;
        left -= written;
    }
    return true;
}

// On the disk, all of it: a full disk may let every write pass and fail only the flush.
bool writtenWhole(KeepingCalls &calls, int fd, const QByteArray &pdf)
{
    struct stat info
    {
    };
    return writeAll(calls, fd, pdf) && calls.fsync(fd) == 0 && calls.fstat(fd, &info) == 0
            && info.st_size == pdf.size();
}

// A file in the folder with no name at all, so that nothing is left behind whatever
// happens before it is named; where the file system has none such, a hidden temporary one.
struct Unnamed
{
    Descriptor file;
    QByteArray temporaryPath; // empty for a file without a name
};

Unnamed createUnnamed(KeepingCalls &calls, const QByteArray &folder)
{
    const int fd = calls.openUnnamed(folder.constData());
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return {Descriptor(fd, calls), {}};
    QByteArray path = folder + "/.taqwim-XXXXXX";
    const int named = calls.createTemporary(path.data());
    if (named >= 0)
        ::fchmod(named, 0644);
    return {Descriptor(named, calls), named >= 0 ? path : QByteArray()};
}

bool giveName(KeepingCalls &calls, const Unnamed &unnamed, const QByteArray &path)
{
    if (!unnamed.temporaryPath.isEmpty())
        return calls.linkat(unnamed.temporaryPath.constData(), path.constData(), 0) == 0;
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(unnamed.file.get());
    return calls.linkat(self.constData(), path.constData(), AT_SYMLINK_FOLLOW) == 0;
}

// The first name of the series that no file has, taken in the same step as it is found
// free, so that two copies of the program closing in the same second cannot both take it.
QByteArray nameFreely(KeepingCalls &calls, const Unnamed &unnamed, const QByteArray &folder,
                      const QString &stem)
{
    for (int n = 1; n <= MostNamesTried; ++n) {
        const QString name = n == 1 ? stem + ".pdf" : QStringLiteral("%1-%2.pdf").arg(stem).arg(n);
        const QByteArray path = folder + '/' + QFile::encodeName(name);
        if (giveName(calls, unnamed, path))
            return path;
        if (errno != EEXIST)
            break;
    }
    return {};
}

QString keepIn(KeepingCalls &calls, const QString &folder, const QByteArray &pdf,
               const QString &stem)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return {};
    const QByteArray where = QFile::encodeName(QDir(folder).absolutePath());
    Unnamed unnamed = createUnnamed(calls, where);
    if (!unnamed.file.valid())
        return {};
    QByteArray path;
    if (writtenWhole(calls, unnamed.file.get(), pdf))
        path = nameFreely(calls, unnamed, where, stem);
    if (!unnamed.file.close() && !path.isEmpty()) {
        ::unlink(path.constData());
        path.clear();
    }
    if (!unnamed.temporaryPath.isEmpty())
        ::unlink(unnamed.temporaryPath.constData());
    return QFile::decodeName(path);
}

} // namespace

int KeepingCalls::openUnnamed(const char *folder)
{
    return ::open(folder, O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644);
}

int KeepingCalls::createTemporary(char *pathTemplate)
{
    return ::mkostemp(pathTemplate, O_CLOEXEC);
}

ssize_t KeepingCalls::write(int fd, const char *bytes, std::size_t size)
{
    return ::write(fd, bytes, size);
}

int KeepingCalls::fsync(int fd)
{
    return ::fsync(fd);
}

int KeepingCalls::fstat(int fd, struct stat *info)
{
    return ::fstat(fd, info);
}

int KeepingCalls::linkat(const char *from, const char *to, int flags)
{
    return ::linkat(AT_FDCWD, from, AT_FDCWD, to, flags);
}

int KeepingCalls::close(int fd)
{
    return ::close(fd);
}

QString keepAsPdf(const QByteArray &pdf, const QDateTime &when)
{
    KeepingCalls system;
    return keepAsPdf(pdf, when, system);
}

QString keepAsPdf(const QByteArray &pdf, const QDateTime &when, KeepingCalls &calls)
{
    const QString stem = when.toString(QStringLiteral("'taqwim-'yyyy-MM-dd-HH-mm-ss"));
    for (const QString &folder :
         {QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QDir::homePath()}) {
        if (const QString path = keepIn(calls, folder, pdf, stem); !path.isEmpty())
            return path;
    }
    return {};
}
