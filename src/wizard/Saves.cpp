#include "wizard/Saves.h"

#include "modules/FileEncoding.h"
#include "modules/Module2.h"
#include "modules/ProfileSession.h"
#include "wizard/EntrySlots.h"
#include "wizard/PathCleanup.h"

#include <QFileInfo>
#include <optional>

namespace {

// Hands one save's writes to its session and keeps the first failure.
class SaveRun
{
public:
    SaveRun(Fields &fields, ProfileSession &session) : m_fields(fields), m_session(session) {}

    void write(const QString &section, const QString &key, const QString &value)
    {
        const FileStatus status = IniWrite(m_session, section, key, value);
        if (m_status.ok() && !status.ok())
            m_status = status;
    }

    // Names first, then paths, each in slot order.
    void writeEntries(FormId page)
    {
        const auto pageSlots = EntrySlots::onPage(page);
        for (const EntrySlot &slot : pageSlots)
            write(QStringLiteral("NAME"), slot.key(), m_fields.text(slot.name()));
        for (const EntrySlot &slot : pageSlots)
            write(QStringLiteral("PATH"), slot.key(), m_fields.text(slot.path()));
    }

    // The comment dialog's title, then its comment.
    void writeMemo()
    {
        write(QStringLiteral("memo"), QStringLiteral("taitoru"), m_fields.text(kTitle));
        write(QStringLiteral("memo"), QStringLiteral("hitokoto"), m_fields.text(kComment));
    }

    const FileStatus &status() const { return m_status; }

private:
    Fields &m_fields;
    ProfileSession &m_session;
    FileStatus m_status;
};

void shortenPaths(Fields &fields, FormId page, const PathCleanup::Roots &roots)
{
    for (const EntrySlot &slot : EntrySlots::onPage(page))
        PathCleanup::removeDrivePrefix(fields, slot.path(), roots);
}

// Collects the unstorable characters of the fields one save writes.
class UnstorableScan
{
public:
    UnstorableScan(Fields &fields, FileEncoding encoding) : m_fields(fields), m_encoding(encoding)
    {}

    void field(Control field, const QString &description)
    {
        const QString characters =
            FileEncodings::unstorableCharacters(m_encoding, m_fields.text(field));
        if (!characters.isEmpty())
            m_found.append({field, description, characters});
    }

    void entries(FormId page)
    {
        for (const EntrySlot &slot : EntrySlots::onPage(page)) {
            field(slot.name(), QStringLiteral("ソフトの名前 %1").arg(slot.number));
            field(slot.path(), QStringLiteral("パス %1").arg(slot.number));
        }
    }

    void memo()
    {
        field(kTitle, QStringLiteral("ウィンドウの名前"));
        field(kComment, QStringLiteral("一言"));
    }

    const QList<Saves::Unstorable> &found() const { return m_found; }

private:
    Fields &m_fields;
    FileEncoding m_encoding;
    QList<Saves::Unstorable> m_found;
};

} // namespace

QString Saves::outputFile(Fields &fields)
{
    return fields.text(kOutputPathHolder);
}

std::optional<Saves::Outlook> Saves::lookAhead(const QString &outputFile, const LongWork &longWork)
{
    ProfileSession session({outputFile, {}});
    Outlook outlook{FileEncoding::Cp932, {}};
    longWork(session, [&] {
        outlook = {FileEncodings::of(outputFile), EntryCheck::rootsFor(outputFile)};
    });
    return session.isCancelled() ? std::nullopt : std::optional(outlook);
}

FileStatus Saves::run(Save save, Fields &fields, const QString &outputFile,
                      const LongWork &longWork)
{
    ProfileSession session({outputFile, {}});
    // The volumes are listed once per save at most, on the work's thread: listing them reads
    // the whole mount table, and a hung mount must not freeze the window.
    std::optional<QStringList> listed;
    const PathCleanup::Roots roots = [&] {
        if (!listed) {
            const QString folder =
                outputFile.isEmpty() ? QString() : QFileInfo(outputFile).absolutePath();
            longWork(session, [&] { listed = PathCleanup::discRoots(Volumes::mounted(), folder); });
        }
        return *listed;
    };
    FileStatus status = save(fields, session, roots);
    if (status.ok())
        longWork(session, [&] { status = session.commit(); });
    return status;
}

FileStatus Saves::pageOneSave(Fields &fields, ProfileSession &session,
                              const PathCleanup::Roots &roots)
{
    shortenPaths(fields, FormId::Form2, roots);
    SaveRun run(fields, session);
    run.writeEntries(FormId::Form2);
    return run.status();
}

FileStatus Saves::finishingSave(Fields &fields, ProfileSession &session,
                                const PathCleanup::Roots &roots)
{
    shortenPaths(fields, FormId::Form3, roots);
    SaveRun run(fields, session);
    run.writeEntries(FormId::Form3);
    run.writeEntries(FormId::Form2);
    run.write(QStringLiteral("onoff"), QStringLiteral("jyoutai"),
              fields.isChecked(kDoNotRun) ? QStringLiteral("1") : QStringLiteral("0"));
    // A title or comment left empty clears what an earlier run or "ＯＫ" saved. One that is
    // set is written too: read from a disc, or confirmed before the file moved to another
    // folder, it is not in this file yet; where "ＯＫ" wrote it, the file stays as it is.
    run.writeMemo();
    return run.status();
}

FileStatus Saves::commentSave(Fields &fields, ProfileSession &session, const PathCleanup::Roots &)
{
    SaveRun run(fields, session);
    run.writeMemo();
    return run.status();
}

QList<Saves::Unstorable> Saves::unstorableInPageOneSave(Fields &fields, FileEncoding encoding)
{
    UnstorableScan scan(fields, encoding);
    scan.entries(FormId::Form2);
    return scan.found();
}

QList<Saves::Unstorable> Saves::unstorableInFinishingSave(Fields &fields, FileEncoding encoding)
{
    UnstorableScan scan(fields, encoding);
    scan.entries(FormId::Form3);
    scan.entries(FormId::Form2);
    scan.memo();
    return scan.found();
}

QList<Saves::Unstorable> Saves::unstorableInCommentSave(Fields &fields, FileEncoding encoding)
{
    UnstorableScan scan(fields, encoding);
    scan.memo();
    return scan.found();
}
