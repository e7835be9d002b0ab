#pragma once

#include "modules/FileStatus.h"

#include <QIODevice>
#include <QString>

#include <optional>
#include <sys/types.h>

// Replaces a file atomically and durably. The new content goes into a temporary file beside
// it, with a name nobody would choose (".KORV.ini.korvane-saving-<process>-<16 hex digits>"),
// which is synced, renamed over the file, and the folder synced: at any instant, a power cut
// included, the file holds all of its old content or all of its new one. A save that is
// killed leaves its temporary file behind; the next save removes it, and nothing else.
class AtomicFile : public QIODevice
{
public:
    // A new file gets permissions, those of the file it replaces; the default ones when that
    // does not exist.
    explicit AtomicFile(const QString &fileName, std::optional<mode_t> permissions = {});
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
    // whose process has ended.
    static void removeLeftovers(const QString &fileName);

protected:
    qint64 readData(char *data, qint64 maxSize) override;
    qint64 writeData(const char *data, qint64 size) override;

private:
    bool fail(int error);

    QString m_fileName;
    std::optional<mode_t> m_permissions;
    QString m_temporary;
    int m_fd = -1;
    FileStatus m_status;
};
