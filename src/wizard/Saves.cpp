#include "wizard/Saves.h"

#include "modules/Cp932.h"
#include "modules/Module1.h"
#include "modules/Module2.h"
#include "wizard/EntrySlots.h"
#include "wizard/PathCleanup.h"

#include <optional>

namespace {

constexpr Control kTitle{FormId::Form5, "Text1"};
constexpr Control kComment{FormId::Form5, "Text2"};
constexpr Control kDoNotRun{FormId::Form3, "Check1"};

// Collects one save's writes so that the file is replaced once, and keeps the first failure.
class SaveRun
{
public:
    explicit SaveRun(Fields &fields) : m_fields(fields) {}

    void write(const QString &section, const QString &key, const QString &value)
    {
        keepFirstFailure(IniWrite(section, key, value));
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

    WriteStatus commit()
    {
        keepFirstFailure(m_batch.commit());
        return m_status;
    }

private:
    void keepFirstFailure(const WriteStatus &status)
    {
        if (m_status.ok() && !status.ok())
            m_status = status;
    }

    Fields &m_fields;
    Module1::ProfileBatch m_batch;
    WriteStatus m_status;
};

void shortenPaths(Fields &fields, FormId page)
{
    // The volumes are listed once per save at most: listing them reads the whole mount table.
    std::optional<QList<Volume>> listed;
    const Volumes::Source volumes = [&listed] {
        if (!listed)
            listed = Volumes::mounted();
        return *listed;
    };
    for (const EntrySlot &slot : EntrySlots::onPage(page))
        PathCleanup::removeDrivePrefix(fields, slot.path(), volumes);
}

void collectUnstorable(Fields &fields, Control field, const QString &description,
                       QList<Saves::Unstorable> &found)
{
    const QString characters = Cp932::unstorableCharacters(fields.text(field));
    if (!characters.isEmpty())
        found.append({field, description, characters});
}

void collectUnstorableEntries(Fields &fields, FormId page, QList<Saves::Unstorable> &found)
{
    for (const EntrySlot &slot : EntrySlots::onPage(page)) {
        collectUnstorable(fields, slot.name(), QStringLiteral("ソフトの名前 %1").arg(slot.number),
                          found);
        collectUnstorable(fields, slot.path(), QStringLiteral("パス %1").arg(slot.number), found);
    }
}

} // namespace

WriteStatus Saves::pageOneSave(Fields &fields)
{
    shortenPaths(fields, FormId::Form2);
    SaveRun run(fields);
    run.writeEntries(FormId::Form2);
    return run.commit();
}

WriteStatus Saves::finishingSave(Fields &fields)
{
    shortenPaths(fields, FormId::Form3);
    SaveRun run(fields);
    run.writeEntries(FormId::Form3);
    run.writeEntries(FormId::Form2);
    run.write(QStringLiteral("onoff"), QStringLiteral("jyoutai"),
              fields.isChecked(kDoNotRun) ? QStringLiteral("1") : QStringLiteral("0"));
    // A title or comment left empty clears what an earlier run or "ＯＫ" saved; one that is
    // set was already written by the comment dialog.
    if (fields.text(kTitle).isEmpty())
        run.write(QStringLiteral("memo"), QStringLiteral("taitoru"), QString());
    if (fields.text(kComment).isEmpty())
        run.write(QStringLiteral("memo"), QStringLiteral("hitokoto"), QString());
    return run.commit();
}

WriteStatus Saves::commentSave(Fields &fields)
{
    SaveRun run(fields);
    run.write(QStringLiteral("memo"), QStringLiteral("taitoru"), fields.text(kTitle));
    run.write(QStringLiteral("memo"), QStringLiteral("hitokoto"), fields.text(kComment));
    return run.commit();
}

QList<Saves::Unstorable> Saves::unstorableInPageOneSave(Fields &fields)
{
    QList<Unstorable> found;
    collectUnstorableEntries(fields, FormId::Form2, found);
    return found;
}

QList<Saves::Unstorable> Saves::unstorableInFinishingSave(Fields &fields)
{
    QList<Unstorable> found;
    collectUnstorableEntries(fields, FormId::Form3, found);
    collectUnstorableEntries(fields, FormId::Form2, found);
    return found;
}

QList<Saves::Unstorable> Saves::unstorableInCommentSave(Fields &fields)
{
    QList<Unstorable> found;
    collectUnstorable(fields, kTitle, QStringLiteral("ウィンドウの名前"), found);
    collectUnstorable(fields, kComment, QStringLiteral("一言"), found);
    return found;
}
