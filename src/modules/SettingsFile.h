#pragma once

#include "modules/FileStatus.h"

#include <QByteArray>
#include <QString>

#include <atomic>
#include <functional>
#include <memory>
#include <span>

// The settings file on disk: read whole, and only ever replaced atomically. Each platform has
// its own file of this; everything above it is the same everywhere.
namespace SettingsFile {

// The largest settings file read or written. The wizard's own files stay under 40 KB and a
// launcher's menu file has no need of more; a file larger than this is refused rather than
// held, so a hostile disc costs no more memory than an ordinary one.
constexpr qint64 kMaxBytes = qint64(1) << 20;

// A new name for a save's temporary file beside the file called name, of one shape on every
// system, ".KORV.ini.korvane-saving-<process>-<16 hex digits>", so that a clean-up knows a
// leftover by its name.
QString temporaryName(const QString &name, qint64 process);
bool isTemporaryOf(const QString &candidate, const QString &name);

// A system's error code and the reason it stands for. Each platform's file lists the errors a
// read or a save can meet; FileStatus::fromErrno tells any other by its number.
struct SystemReason
{
    long code;
    FileProblem problem;
};
extern const std::span<const SystemReason> systemReasons;

// The refusal of a file larger than kMaxBytes, the limit named for the user.
inline FileStatus tooLarge(const QString &fileName)
{
    return FileStatus::failed(fileName, FileProblem::FileTooLarge, QStringLiteral("1 MiB"));
}

// A file as read: its bytes, or why it could not be read. A file that is not there reads as
// empty, with exists false.
struct Content
{
    FileStatus status;
    bool exists = false;
    QByteArray bytes;
};

// Whether the file read again just before a save's rename, now, is still the one read: missing
// still, or the same file (sameIdentity) holding the same bytes. Else ChangedMeanwhile.
FileStatus unchangedSince(const Content &read, const Content &now, bool sameIdentity);

// Reads fileName whole. Refused: what is no regular file, a file larger than kMaxBytes or
// growing past it, and, when confined, a file that is not really in the folder its name is
// in, such as a link off the disc. Reading fails as Cancelled once cancelled is set.
Content read(const QString &fileName, const std::atomic<bool> &cancelled, bool confined);

// Why a save of fileName could not make its temporary file beside it: the folder is missing,
// or the file system refuses a new file there (mode bits do not stop root, a read-only mount
// does). One is made and removed again.
FileStatus checkWritable(const QString &fileName);

// One save of fileName. From lockAndRead() until it goes, it holds off every other save of a
// settings file in the same folder; its new content goes into a temporary file beside the
// file, ".KORV.ini.korvane-saving-<process>-<16 hex digits>", which is synced, renamed over
// the file, and the folder synced: at any instant, a power cut included, the file holds all
// of its old content or all of its new one.
class Save
{
public:
    Save(const QString &fileName, const std::atomic<bool> &cancelled);
    // A temporary file that was not renamed goes.
    ~Save();
    Save(const Save &) = delete;
    Save &operator=(const Save &) = delete;

    // Waits for the saves of other wizards into the folder to end, removes what killed saves
    // left there, and reads the file. A file the user made read-only fails as ReadOnlyFile.
    Content lockAndRead();

    // Puts bytes into the temporary file, on the disk. The file's permissions go with it, and
    // when the save runs as root, its owner and group too.
    FileStatus write(const QByteArray &bytes);

    // Renames the temporary file over the file, unless the file is no longer the one that was
    // read or holds other bytes: then ChangedMeanwhile, and nothing is replaced. afterRename
    // runs once the file is replaced; then the folder is synced.
    FileStatus replace(const std::function<void()> &afterRename);

private:
    friend FileStatus checkWritable(const QString &fileName);
    struct Private;
    std::unique_ptr<Private> d;
};

} // namespace SettingsFile
