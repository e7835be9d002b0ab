#include "wizard/EntryCheck.h"

#include "modules/Cp932.h"
#include "modules/Module2.h"
#include "wizard/EntrySlots.h"
#include "wizard/PathCleanup.h"
#include "wizard/Volumes.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QRegularExpression>
#include <algorithm>

using namespace EntryCheck;

namespace {

const QString kLauncher = QStringLiteral("KORVANE.EXE");

// A path from the root of this system, or of a drive of the launcher's (C:\GAME, D:/GAME).
bool isAbsolute(const QString &path)
{
    static const QRegularExpression drive(QStringLiteral(R"(^[A-Za-z]:[\\/])"));
    return path.startsWith(u'/') || drive.match(path).hasMatch();
}

// A network path (\\SERVER\SHARE\X.EXE) is on no disc, yet the launcher may reach it.
bool isNetworkPath(const QString &path)
{
    return path.startsWith(QStringLiteral(R"(\\)"));
}

// The launcher reads a value back through a buffer of code page 932 bytes, whatever the file's
// own encoding: a longer one comes back cut.
bool isTooLong(const QString &value)
{
    return Cp932::encode(value).size() > Module2::kLongestValue;
}

// The entry of folder called name in any case, as the launcher's platform finds it; empty when
// there is none.
QString entryInAnyCase(const QDir &folder, const QString &name)
{
    if (folder.exists(name))
        return name;
    const QStringList entries =
        folder.entryList(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
    const auto match = std::ranges::find_if(entries, [&name](const QString &entry) {
        return entry.compare(name, Qt::CaseInsensitive) == 0;
    });
    return match == entries.end() ? QString() : *match;
}

// Whether path, its parts parted by "\" or "/", names something under root. ".." at the root
// stays there, as it does at the root of a drive.
bool existsUnder(const QString &root, const QString &path)
{
    static const QRegularExpression separators(QStringLiteral(R"([\\/])"));
    QStringList parts;
    for (const QString &part : path.split(separators, Qt::SkipEmptyParts)) {
        if (part == u"..") {
            if (!parts.isEmpty())
                parts.removeLast();
        } else if (part != u".") {
            parts.append(part);
        }
    }
    QDir folder(root);
    for (qsizetype i = 0; i < parts.size(); ++i) {
        const QString found = entryInAnyCase(folder, parts[i]);
        if (found.isEmpty() || (i + 1 < parts.size() && !folder.cd(found)))
            return false;
    }
    return true;
}

// The output folder is the disc's root, unless it is the program's own folder. One that is
// not there is no root to look in: the save will say so.
QString discFolderOf(const QString &outputFolder)
{
    const QString real = QFileInfo(outputFolder).canonicalFilePath();
    const QString program = QFileInfo(QCoreApplication::applicationDirPath()).canonicalFilePath();
    return real.isEmpty() || real == program ? QString() : outputFolder;
}

// Collects the problems of the entries one save writes, in the order it writes them.
class Scan
{
public:
    Scan(Fields &fields, const Roots &roots) : m_fields(fields), m_roots(roots)
    {
        // The launcher shows a menu only when slot 2 has a name; anything after slot 1 is
        // reached only through the menu.
        const auto all = EntrySlots::all();
        const EntrySlot &second = all[1];
        m_menuShown = !fields.text(second.name()).isEmpty();
        m_afterFirstFilled =
            !fields.text(second.path()).isEmpty() ||
            std::ranges::any_of(all.subspan(2), [&fields](const EntrySlot &slot) {
                return !fields.text(slot.name()).isEmpty() || !fields.text(slot.path()).isEmpty();
            });
    }

    void entries(FormId page)
    {
        for (const EntrySlot &slot : EntrySlots::onPage(page))
            entry(slot);
    }

    void launcher()
    {
        if (!m_roots.discFolder.isEmpty() && !existsUnder(m_roots.discFolder, kLauncher))
            m_found.append(
                {Fault::LauncherMissing, 0, std::nullopt, kLauncher, m_roots.discFolder});
    }

    const QList<Problem> &found() const { return m_found; }

private:
    void entry(const EntrySlot &slot)
    {
        const QString name = m_fields.text(slot.name());
        const QString typed = m_fields.text(slot.path());
        const QString path = PathCleanup::shortened(typed, [this] { return m_roots.discRoots; });
        const auto add = [&](Fault fault, Control field, const QString &root = {}) {
            m_found.append({fault, slot.number, field, path, root});
        };
        if (isTooLong(name))
            add(Fault::NameTooLong, slot.name());
        if (slot.number == 2 && name.isEmpty() && m_afterFirstFilled)
            add(Fault::MenuNotShown, slot.name());
        else if (name.isEmpty() && !path.isEmpty() && (slot.number != 1 || m_menuShown))
            add(Fault::PathWithoutName, slot.name());
        if (path.isEmpty()) {
            if (!name.isEmpty())
                add(Fault::NameWithoutPath, slot.path());
            return;
        }
        if (isTooLong(path))
            add(Fault::PathTooLong, slot.path());
        if (isAbsolute(path)) {
            add(Fault::AbsolutePath, slot.path());
            return;
        }
        const QString root = rootOf(typed);
        if (!root.isEmpty() && !isNetworkPath(path) && !existsUnder(root, path))
            add(Fault::FileMissing, slot.path(), root);
    }

    // The root of the disc a path is looked for on: the disc folder; without one, the volume
    // the path was picked from, if it was. Empty when the wizard cannot know.
    QString rootOf(const QString &typed) const
    {
        if (!m_roots.discFolder.isEmpty())
            return m_roots.discFolder;
        const qsizetype picked =
            Volumes::deepestContaining(m_roots.discRoots, PathCleanup::withoutDrivePrefix(typed));
        return picked < 0 ? QString() : m_roots.discRoots[picked];
    }

    Fields &m_fields;
    const Roots &m_roots;
    bool m_menuShown = false;
    bool m_afterFirstFilled = false;
    QList<Problem> m_found;
};

} // namespace

Roots EntryCheck::rootsFor(const QString &outputFile)
{
    const QString folder = outputFile.isEmpty() ? QString() : QFileInfo(outputFile).absolutePath();
    return {PathCleanup::discRoots(Volumes::mounted(), folder), discFolderOf(folder)};
}

QList<Problem> EntryCheck::inPageOneSave(Fields &fields, const Roots &roots)
{
    Scan scan(fields, roots);
    scan.entries(FormId::Form2);
    return scan.found();
}

QList<Problem> EntryCheck::inFinishingSave(Fields &fields, const Roots &roots)
{
    Scan scan(fields, roots);
    scan.entries(FormId::Form3);
    scan.entries(FormId::Form2);
    scan.launcher();
    return scan.found();
}
