#include "wizard/Import.h"

#include "modules/Module2.h"
#include "modules/ProfileSession.h"
#include "wizard/EntrySlots.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringList>

#include <cerrno>
#include <sys/stat.h>

namespace {

const QString kNames = QStringLiteral("name");
const QString kPaths = QStringLiteral("path");

// The section and key names the import asks for: the only ones noted while reading.
const ExpectedNames &expectedNames()
{
    static const ExpectedNames names = [] {
        ExpectedNames expected{{kNames, kPaths}, {}};
        for (const EntrySlot &slot : EntrySlots::all())
            expected.keys.append(slot.key());
        return expected;
    }();
    return names;
}

// Why a link is not to be followed: a disc nobody here made may hold a link to a file of
// this machine, and only what is on the volume itself is read.
FileProblem linkProblem(const QString &link)
{
    const QFileInfo info(link);
    if (!info.exists())
        return FileProblem::NotFound;
    const QString volume = QDir(info.absolutePath()).canonicalPath() + u'/';
    return info.canonicalFilePath().startsWith(volume) ? FileProblem::None
                                                       : FileProblem::LinkLeavesVolume;
}

// Why the session's source file is not to be read; ok when it can be.
FileStatus checkSource(ProfileSession &session)
{
    const QString file = session.sourceFile();
    struct stat info
    {
    };
    if (lstat(QFile::encodeName(file).constData(), &info) != 0)
        return FileStatus::fromErrno(file, errno);
    if (S_ISLNK(info.st_mode)) {
        if (const FileProblem problem = linkProblem(file); problem != FileProblem::None)
            return FileStatus::failed(file, problem);
    } else if (S_ISDIR(info.st_mode)) {
        return FileStatus::failed(file, FileProblem::IsFolder);
    }
    // The file's own type is told by the session when it opens it.
    return session.check(file);
}

// The values of all seventeen slots, name 1, path 1, name 2, ..., each read by one IniRead.
QStringList readEntries(ProfileSession &session)
{
    QStringList values;
    values.reserve(qsizetype(EntrySlots::all().size()) * 2);
    for (const EntrySlot &slot : EntrySlots::all()) {
        values.append(IniRead(session, kNames, slot.key()));
        values.append(IniRead(session, kPaths, slot.key()));
    }
    return values;
}

void fillEntries(Fields &fields, const QStringList &values)
{
    // Slot order is page 1 then page 2; page 2's fields are filled while it is hidden.
    qsizetype next = 0;
    for (const EntrySlot &slot : EntrySlots::all()) {
        fields.setText(slot.name(), values.value(next++));
        fields.setText(slot.path(), values.value(next++));
    }
}

} // namespace

FileStatus Import::fromSourceFile(Fields &fields, const LongWork &longWork)
{
    ProfileSession session({{}, Module2::sourceFileName(fields.text(kDriveList))}, expectedNames());
    if (const FileStatus source = checkSource(session); !source.ok())
        return source;
    QStringList values;
    longWork(session, [&] { values = readEntries(session); });
    if (session.isCancelled())
        return FileStatus::failed(session.sourceFile(), FileProblem::Cancelled);
    const FileStatus read = session.check(session.sourceFile());
    if (read.ok())
        fillEntries(fields, values);
    return read;
}
