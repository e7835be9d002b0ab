#include "wizard/Import.h"

#include "modules/Module2.h"
#include "modules/ProfileSession.h"
#include "wizard/EntrySlots.h"

#include <vector>

namespace {

const QString kNames = QStringLiteral("name");
const QString kPaths = QStringLiteral("path");

// The values of all seventeen slots, names 1 to 17 and then paths 1 to 17, each read by
// one IniRead.
std::vector<QString> readEntries(ProfileSession &session)
{
    std::vector<QString> values;
    values.reserve(EntrySlots::all().size() * 2);
    for (const QString &section : {kNames, kPaths}) {
        for (const EntrySlot &slot : EntrySlots::all())
            values.push_back(IniRead(session, section, slot.key()));
    }
    return values;
}

void fillEntries(Fields &fields, const std::vector<QString> &values)
{
    // Slot order is page 1 then page 2; page 2's fields are filled while it is hidden.
    const std::size_t paths = EntrySlots::all().size();
    std::size_t next = 0;
    for (const EntrySlot &slot : EntrySlots::all()) {
        fields.setText(slot.name(), values[next]);
        fields.setText(slot.path(), values[paths + next++]);
    }
}

FileStatus readSource(ProfileSession &session, std::vector<QString> &values)
{
    const FileStatus status = session.readSource();
    if (status.ok())
        values = readEntries(session);
    return status;
}

} // namespace

FileStatus Import::fromSourceFile(Fields &fields, const LongWork &longWork)
{
    const QString designation = fields.text(kDriveList);
    ProfileSession session({{}, Module2::sourceFileName(designation)});
    session.confineSourceToItsFolder();
    FileStatus status;
    std::vector<QString> values;
    // Opening the file is file work as much as reading it: a hung drive must not freeze the
    // window.
    longWork(session, [&] {
        status = readSource(session, values);
        const QString other = status.problem == FileProblem::NotFound
                                  ? Module2::sourceFileInOtherCase(designation)
                                  : QString();
        if (other.isEmpty())
            return;
        session.setSourceFile(other);
        if (const FileStatus found = readSource(session, values);
            found.problem != FileProblem::NotFound)
            status = found;
    });
    if (session.isCancelled())
        return FileStatus::failed(session.sourceFile(), FileProblem::Cancelled);
    if (status.ok())
        fillEntries(fields, values);
    return status;
}
