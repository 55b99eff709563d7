#include "kept_document.h"

#include <QDir>
#include <QStandardPaths>

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

namespace {

constexpr int MostNamesTried = 1000;

class Descriptor
{
public:
    explicit Descriptor(int fd) : m_fd(fd) { }
    ~Descriptor()
    {
        if (m_fd >= 0)
            ::close(m_fd);
    }
    Descriptor(const Descriptor &) = delete;
    Descriptor &operator=(const Descriptor &) = delete;

    int get() const { return m_fd; }
    bool valid() const { return m_fd >= 0; }
    // Some file systems tell of a failed write only when the file is closed.
    bool close() { return ::close(std::exchange(m_fd, -1)) == 0; }

private:
    int m_fd;
};

bool writeAll(int fd, const QByteArray &bytes)
{
    const char *next = bytes.constData();
    for (qsizetype left = bytes.size(); left > 0;) {
        const ssize_t written = ::write(fd, next, size_t(left));
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
bool writtenWhole(int fd, const QByteArray &pdf)
{
    struct stat info
    {
    };
    return writeAll(fd, pdf) && ::fsync(fd) == 0 && ::fstat(fd, &info) == 0
            && info.st_size == pdf.size();
}

// A file in the folder with no name at all, so that nothing is left behind whatever
// happens before it is named; where the file system has none such, a hidden temporary one.
struct Unnamed
{
    Descriptor file;
    QByteArray temporaryPath; // empty for a file without a name
};

Unnamed createUnnamed(const QByteArray &folder)
{
    const int fd = ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0644);
    if (fd >= 0 || (errno != EOPNOTSUPP && errno != EISDIR && errno != EINVAL))
        return {Descriptor(fd), {}};
    QByteArray path = folder + "/.taqwim-XXXXXX";
    const int named = ::mkostemp(path.data(), O_CLOEXEC);
    if (named >= 0)
        ::fchmod(named, 0644);
    return {Descriptor(named), named >= 0 ? path : QByteArray()};
}

bool giveName(const Unnamed &unnamed, const QByteArray &path)
{
    if (!unnamed.temporaryPath.isEmpty())
        return ::link(unnamed.temporaryPath.constData(), path.constData()) == 0;
    const QByteArray self = "/proc/self/fd/" + QByteArray::number(unnamed.file.get());
    return ::linkat(AT_FDCWD, self.constData(), AT_FDCWD, path.constData(), AT_SYMLINK_FOLLOW) == 0;
}

// The first name of the series that no file has, taken in the same step as it is found
// free, so that two copies of the program closing in the same second cannot both take it.
QByteArray nameFreely(const Unnamed &unnamed, const QByteArray &folder, const QString &stem)
{
    for (int n = 1; n <= MostNamesTried; ++n) {
        const QString name = n == 1 ? stem + ".pdf" : QStringLiteral("%1-%2.pdf").arg(stem).arg(n);
        const QByteArray path = folder + '/' + QFile::encodeName(name);
        if (giveName(unnamed, path))
            return path;
        if (errno != EEXIST)
            break;
    }
    return {};
}

QString keepIn(const QString &folder, const QByteArray &pdf, const QString &stem)
{
    if (folder.isEmpty() || !QDir().mkpath(folder))
        return {};
    const QByteArray where = QFile::encodeName(QDir(folder).absolutePath());
    Unnamed unnamed = createUnnamed(where);
    if (!unnamed.file.valid())
        return {};
    QByteArray path;
    if (writtenWhole(unnamed.file.get(), pdf))
        path = nameFreely(unnamed, where, stem);
    if (!unnamed.file.close() && !path.isEmpty()) {
        ::unlink(path.constData());
        path.clear();
    }
    if (!unnamed.temporaryPath.isEmpty())
        ::unlink(unnamed.temporaryPath.constData());
    return QFile::decodeName(path);
}

} // namespace

QString keepAsPdf(const QByteArray &pdf, const QDateTime &when)
{
    const QString stem = when.toString(QStringLiteral("'taqwim-'yyyy-MM-dd-HH-mm-ss"));
    for (const QString &folder :
         {QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation), QDir::homePath()}) {
        if (const QString path = keepIn(folder, pdf, stem); !path.isEmpty())
            return path;
    }
    return {};
}
