#include "wizard/Import.h"

#include "modules/Module2.h"
#include "modules/ProfileSession.h"
#include "wizard/EntrySlots.h"

#include <QFileInfo>

#include <vector>

namespace {

const QString kNames = QStringLiteral("name");
const QString kPaths = QStringLiteral("path");
const QString kMemo = QStringLiteral("memo");
const QString kTitleKey = QStringLiteral("taitoru");
const QString kCommentKey = QStringLiteral("hitokoto");

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

// Reads the session's source file as file. The wizard's own output file is read as its saves
// write it, through a link: a file the import refused would otherwise be replaced by a save
// made from empty fields. Any other file must really be in its folder.
FileStatus readSource(ProfileSession &session, const QString &file, const QString &outputFile,
                      std::vector<QString> &values)
{
    session.setSourceFile(file);
    session.confineSourceToItsFolder(QFileInfo(file).absoluteFilePath() != outputFile);
    const FileStatus status = session.readSource();
    if (status.ok())
        values = readEntries(session);
    return status;
}

} // namespace

FileStatus Import::fromSourceFile(Fields &fields, const LongWork &longWork)
{
    return fromFolder(fields, fields.text(kDriveList), longWork);
}

FileStatus Import::fromFolder(Fields &fields, const QString &designation, const LongWork &longWork)
{
    ProfileSession session({{}, Module2::sourceFileName(designation)});
    const QString outputFile = QFileInfo(fields.text(kOutputPathHolder)).absoluteFilePath();
    FileStatus status;
    std::vector<QString> values;
    // Opening the file is file work as much as reading it: a hung drive must not freeze the
    // window.
    longWork(session, [&] {
        status = readSource(session, session.sourceFile(), outputFile, values);
        const QString other = status.problem == FileProblem::NotFound
                                  ? Module2::sourceFileInOtherCase(designation)
                                  : QString();
        if (other.isEmpty())
            return;
        if (const FileStatus found = readSource(session, other, outputFile, values);
            found.problem != FileProblem::NotFound)
            status = found;
    });
    if (session.isCancelled())
        return FileStatus::failed(session.sourceFile(), FileProblem::Cancelled);
    if (status.ok())
        fillEntries(fields, values);
    return status;
}
