#include "wizard/Import.h"

#include "modules/Module2.h"
#include "modules/ProfileSession.h"
#include "wizard/EntrySlots.h"

#include <QDir>
#include <QFileInfo>
#include <QStringList>

#include <vector>

namespace {

const QString kNames = QStringLiteral("name");
const QString kPaths = QStringLiteral("path");
const QString kMemo = QStringLiteral("memo");
const QString kTitleKey = QStringLiteral("taitoru");
const QString kCommentKey = QStringLiteral("hitokoto");

// The section and key names the import asks for: the only ones noted while reading.
const ExpectedNames &expectedNames()
{
    static const ExpectedNames names = [] {
        ExpectedNames expected{{kNames, kPaths, kMemo}, {}};
        for (const EntrySlot &slot : EntrySlots::all())
            expected.keys.append(slot.key());
        expected.keys << kTitleKey << kCommentKey;
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

// The values of all seventeen slots, names 1 to 17 and then paths 1 to 17, then the title
// and the comment, each read by one IniRead.
std::vector<QString> readEntries(ProfileSession &session)
{
    std::vector<QString> values;
    values.reserve(EntrySlots::all().size() * 2 + 2);
    for (const QString &section : {kNames, kPaths}) {
        for (const EntrySlot &slot : EntrySlots::all())
            values.push_back(IniRead(session, section, slot.key()));
    }
    values.push_back(IniRead(session, kMemo, kTitleKey));
    values.push_back(IniRead(session, kMemo, kCommentKey));
    return values;
}

void fillEntries(Fields &fields, const std::vector<QString> &values)
{
    // Slot order is page 1 then page 2; page 2's fields are filled while it is hidden, and
    // the comment dialog's too.
    const std::size_t paths = EntrySlots::all().size();
    std::size_t next = 0;
    for (const EntrySlot &slot : EntrySlots::all()) {
        fields.setText(slot.name(), values[next]);
        fields.setText(slot.path(), values[paths + next++]);
    }
    fields.setText(kTitle, values[2 * paths]);
    fields.setText(kComment, values[2 * paths + 1]);
}

// The wizard's own output file is read as its saves write it, through a link: a file the
// import refused would otherwise be replaced by a save made from empty fields.
bool isOutputFile(Fields &fields, const QString &file)
{
    return QFileInfo(file).absoluteFilePath() ==
           QFileInfo(fields.text(kOutputPathHolder)).absoluteFilePath();
}

// Why file is not to be read: the session tells the file's own type when it opens it.
FileStatus sourceProblem(ProfileSession &session, const QString &file)
{
    const FileStatus status = session.check(file);
    if (status.ok() && !session.exists(file))
        return FileStatus::failed(file, FileProblem::NotFound);
    return status;
}

FileStatus importFile(Fields &fields, const QString &file, const LongWork &longWork)
{
    ProfileSession session({{}, file}, expectedNames());
    if (!isOutputFile(fields, file))
        session.setSourceLinkCheck(linkProblem);
    if (const FileStatus source = sourceProblem(session, file); !source.ok())
        return source;
    std::vector<QString> values;
    longWork(session, [&] { values = readEntries(session); });
    if (session.isCancelled())
        return FileStatus::failed(file, FileProblem::Cancelled);
    const FileStatus read = session.check(file);
    if (read.ok())
        fillEntries(fields, values);
    return read;
}

} // namespace

FileStatus Import::fromSourceFile(Fields &fields, const LongWork &longWork)
{
    return fromFolder(fields, fields.text(kDriveList), longWork);
}

FileStatus Import::fromFolder(Fields &fields, const QString &designation, const LongWork &longWork)
{
    const FileStatus exact = importFile(fields, Module2::sourceFileName(designation), longWork);
    if (exact.problem != FileProblem::NotFound)
        return exact;
    const QString other = Module2::sourceFileInOtherCase(designation);
    return other.isEmpty() ? exact : importFile(fields, other, longWork);
}
