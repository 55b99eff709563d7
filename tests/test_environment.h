#pragma once

#include <QByteArray>
#include <QDir>
#include <QDirIterator>
#include <QString>
#include <QStringList>
#include <QtGlobal>

// An environment variable set (unset for a null value) for as long as this lives, then put
// back as it was, unset included.
class EnvironmentSetting
{
public:
    EnvironmentSetting(const char *name, const QByteArray &value)
        : m_name(name), m_outer(qgetenv(name))
    {
        if (value.isNull())
            qunsetenv(name);
        else
            qputenv(name, value);
    }
    ~EnvironmentSetting()
    {
        if (m_outer.isNull())
            qunsetenv(m_name);
        else
            qputenv(m_name, m_outer);
    }
    EnvironmentSetting(const EnvironmentSetting &) = delete;
    EnvironmentSetting &operator=(const EnvironmentSetting &) = delete;

private:
    const char *m_name;
    QByteArray m_outer;
};

// HOME and XDG_CONFIG_HOME pointed at a folder of the test's own for as long as it lives,
// so that what the program keeps lands there and the user's own folders and print settings
// do not count.
struct TemporaryHome
{
    explicit TemporaryHome(const QString &folder)
        : home("HOME", folder.toUtf8()), config("XDG_CONFIG_HOME", (folder + "/.config").toUtf8())
    {
    }

    EnvironmentSetting home, config;
};

// Every file under the folder, hidden ones included.
inline QStringList filesUnder(const QString &folder)
{
    QStringList files;
    QDirIterator each(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (each.hasNext())
        files << each.next();
    return files;
}
