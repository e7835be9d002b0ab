#include "modules/ProfileSession.h"

#include "modules/IniText.h"
#include "modules/IniUnits.h"

#include <algorithm>

namespace {

// A value can never start a line, a key or a section of its own.
QString singleLine(QString value)
{
    value.replace(QLatin1Char('\r'), QLatin1Char(' '));
    value.replace(QLatin1Char('\n'), QLatin1Char(' '));
    value.remove(QChar(0));
    return value;
}

// What keeps a section or key name from being written so that it reads back.
FileProblem nameProblem(const QString &section, const QString &key)
{
    // A name of nothing but what reading trims is no name.
    auto isBlank = [](const QString &name) {
        return std::all_of(name.begin(), name.end(),
                           [](QChar c) { return IniText<Utf16Units>::isBlank(c.unicode()); });
    };
    auto breaksLine = [](const QString &name) {
        return name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n')) ||
               name.contains(QChar(0));
    };
    if (isBlank(section) || isBlank(key))
        return FileProblem::NameMissing;
    if (breaksLine(section) || breaksLine(key))
        return FileProblem::NameBreaksLine;
    if (section.contains(QLatin1Char(']')) || key.contains(QLatin1Char('=')))
        return FileProblem::NameHasDelimiter;
    if (section.size() > ProfileSession::kMaxNameLength ||
        key.size() > ProfileSession::kMaxNameLength)
        return FileProblem::NameTooLong;
    return FileProblem::None;
}

} // namespace

ProfileSession::ProfileSession(Files files, ExpectedNames expected)
    : m_files(std::move(files)), m_expected(std::move(expected))
{}

std::optional<QString> ProfileSession::read(const QString &fileName, const QString &section,
                                            const QString &key, qsizetype maxBytes)
{
    if (fileName.isEmpty())
        return std::nullopt;
    ProfileDocument *found = document(openFile(fileName));
    return found ? found->value(section, key, maxBytes) : std::nullopt;
}

FileStatus ProfileSession::check(const QString &fileName)
{
    OpenFile &file = openFile(fileName);
    const ProfileDocument *loaded = document(file);
    if (loaded && loaded->readProblem() != FileProblem::None)
        return FileStatus::failed(file.name, loaded->readProblem());
    return file.loaded.status;
}

bool ProfileSession::exists(const QString &fileName)
{
    const ProfileDocument *loaded = document(openFile(fileName));
    return loaded && loaded->identity().exists;
}

FileStatus ProfileSession::write(const QString &fileName, const QString &section,
                                 const QString &key, const QString &value)
{
    if (fileName.isEmpty())
        return FileStatus::failed(fileName, FileProblem::NoFileName);
    if (const FileProblem problem = nameProblem(section, key); problem != FileProblem::None)
        return FileStatus::failed(fileName, problem);
    openFile(fileName).held.push_back({section, key, singleLine(value)});
    return {fileName};
}

FileStatus ProfileSession::commit()
{
    FileStatus first;
    for (auto it = m_open.begin(); it != m_open.end();) {
        OpenFile &file = *it;
        const bool written =
            !file.held.empty() || (file.loaded.document && file.loaded.document->isDirty());
        if (!written) {
            ++it;
            continue;
        }
        const FileStatus status = save(file);
        if (first.ok() && !status.ok())
            first = status;
        it = status.ok() ? m_open.erase(it) : std::next(it);
    }
    return first;
}

ProfileSession::OpenFile &ProfileSession::openFile(const QString &fileName)
{
    const auto found = std::find_if(m_open.begin(), m_open.end(),
                                    [&](const OpenFile &file) { return file.name == fileName; });
    if (found != m_open.end())
        return *found;
    OpenFile &added = m_open.emplace_back();
    added.name = fileName;
    return added;
}

ProfileDocument *ProfileSession::document(OpenFile &file)
{
    if (!file.loaded.document && file.loaded.status.ok()) {
        ExpectedNames expected = m_expected;
        for (const HeldWrite &write : file.held) {
            expected.sections.append(write.section);
            expected.keys.append(write.key);
        }
        if (!file.held.empty()) {
            expected.sections.removeDuplicates();
            expected.keys.removeDuplicates();
        }
        file.loaded = ProfileFile::load(file.name, m_cancelled, expected,
                                        file.name == m_files.source ? m_sourceLinkCheck
                                                                    : ProfileFile::LinkCheck());
        file.loaded.status.fileName = file.name;
    }
    ProfileDocument *loaded = file.loaded.document.get();
    if (loaded) {
        for (const HeldWrite &write : file.held)
            loaded->write(write.section, write.key, write.value);
        file.held.clear();
    }
    return loaded;
}

FileStatus ProfileSession::save(OpenFile &file)
{
    if (isCancelled())
        return FileStatus::failed(file.name, FileProblem::Cancelled);
    ProfileDocument *loaded = document(file);
    // A file that exists but cannot be read is never replaced by one made from nothing.
    if (!loaded)
        return file.loaded.status;
    if (const FileProblem problem = loaded->readProblem(); problem != FileProblem::None)
        return FileStatus::failed(file.name, problem);
    // A write through a link replaces the file it leads to, and the link stays.
    FileStatus status = ProfileFile::save(ProfileFile::resolvedPath(file.name), *loaded, [this] {
        if (m_beforeReplace)
            m_beforeReplace();
        return !isCancelled();
    });
    status.fileName = file.name;
    return status;
}
