#pragma once

#include "modules/FileStatus.h"

#include <QIODevice>
#include <QString>

#include <optional>

// Replaces a file atomically and durably. The new content goes into a temporary file beside
// it, with a name nobody would choose (".KORV.ini.korvane-saving-<process>-<16 hex digits>"),
// which is synced, renamed over the file, and the folder synced: at any instant, a power cut
// included, the file holds all of its old content or all of its new one. A save that is
// killed leaves its temporary file behind; the next save removes it, and nothing else.
class AtomicFile : public QIODevice
{
public:
    // A new file gets permissions, those of the file it replaces; the default ones when that
    // does not exist. (Windows has none to keep: a new file takes its folder's.)
    explicit AtomicFile(const QString &fileName, std::optional<quint32> permissions = {});
    // A replace that did not happen removes its temporary file.
    ~AtomicFile() override;

    // Creates the temporary file.
    bool open(OpenMode mode = WriteOnly | Unbuffered) override;
    // Puts what was written on the disk and closes the temporary file.
    bool sync();
    // Renames the temporary file over the file, then syncs the folder.
    bool replace();
    // What failed; ok while nothing has.
    const FileStatus &status() const { return m_status; }

    // Removes the temporary files that saves of fileName left when they were killed: those
    // no running save holds.
    static void removeLeftovers(const QString &fileName);

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    // The system's part, in AtomicFile_<system>.cpp.
    // Creates m_temporary, which must not exist yet; the system's error code when it fails.
    std::optional<int> createTemporary();
    void closeTemporary();
    // Removes the leftover at path, which the process maker made, when no save holds it.
    static void removeIfAbandoned(const QString &path, qint64 maker);

    bool fail(int error);

    QString m_fileName;
    std::optional<quint32> m_permissions;
    QString m_temporary;
    qintptr m_handle = -1; // a descriptor; a handle on Windows
    FileStatus m_status;
};
