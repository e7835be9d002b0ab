#include "modules/ProfileSession.h"

#include "modules/SettingsFile.h"

#include <QFileInfo>

#include <algorithm>

namespace {

// More links than this in a row is a loop; the path is left for the save to fail on.
constexpr int kMaxLinkHops = 40;

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
    auto breaksLine = [](const QString &name) {
        return name.contains(QLatin1Char('\r')) || name.contains(QLatin1Char('\n')) ||
               name.contains(QChar(0));
    };
    if (ProfileDocument::isBlank(section) || ProfileDocument::isBlank(key))
        return FileProblem::NameMissing;
    if (breaksLine(section) || breaksLine(key))
        return FileProblem::NameBreaksLine;
    if (section.contains(QLatin1Char(']')) || key.contains(QLatin1Char('=')))
        return FileProblem::NameHasDelimiter;
    return FileProblem::None;
}

// The absolute path a write to fileName lands in: links followed to their target, so that a
// link stays a link.
QString resolvedPath(const QString &fileName)
{
    QFileInfo info(fileName);
    for (int hops = 0; info.isSymLink() && hops < kMaxLinkHops; ++hops)
        info.setFile(info.symLinkTarget());
    return info.absoluteFilePath();
}

} // namespace

ProfileSession::ProfileSession(Files files) : m_files(std::move(files)) {}

void ProfileSession::setSourceFile(const QString &fileName)
{
    m_files.source = fileName;
    m_source.reset();
    m_sourceStatus = {};
}

FileStatus ProfileSession::readSource()
{
    source();
    return m_sourceStatus;
}

const ProfileDocument *ProfileSession::source()
{
    if (!m_source && m_sourceStatus.ok() && !m_files.source.isEmpty()) {
        const SettingsFile::Content read =
            SettingsFile::read(m_files.source, m_cancelled, m_confined);
        m_sourceStatus =
            read.exists ? read.status : FileStatus::failed(m_files.source, FileProblem::NotFound);
        if (read.status.ok())
            m_source.emplace(read.bytes);
    }
    return m_source ? &*m_source : nullptr;
}

std::optional<QString> ProfileSession::read(const QString &section, const QString &key,
                                            qsizetype maxBytes)
{
    const ProfileDocument *read = source();
    if (!read)
        return std::nullopt;
    if (m_held.empty() || m_files.source != m_files.output)
        return read->value(section, key, maxBytes);
    ProfileDocument written = *read;
    written.write(m_held);
    return written.value(section, key, maxBytes);
}

FileStatus ProfileSession::write(const QString &section, const QString &key, const QString &value)
{
    if (m_files.output.isEmpty())
        return FileStatus::failed(m_files.output, FileProblem::NoFileName);
    if (const FileProblem problem = nameProblem(section, key); problem != FileProblem::None)
        return FileStatus::failed(m_files.output, problem);
    m_held.push_back({section, key, singleLine(value)});
    return {m_files.output};
}

FileStatus ProfileSession::commit()
{
    const QString &output = m_files.output;
    if (m_held.empty())
        return {output};
    if (isCancelled())
        return FileStatus::failed(output, FileProblem::Cancelled);
    SettingsFile::Save save(resolvedPath(output), m_cancelled);
    auto named = [&output](FileStatus status) {
        status.fileName = output;
        return status;
    };
    // Read under the save's lock: what another wizard saved before stays.
    const SettingsFile::Content old = save.lockAndRead();
    if (!old.status.ok())
        return named(old.status);
    ProfileDocument document(old.bytes);
    document.write(m_held);
    if (document.isChanged()) {
        if (const FileStatus written = save.write(document.bytes()); !written.ok())
            return named(written);
        if (m_beforeReplace)
            m_beforeReplace();
        if (isCancelled())
            return FileStatus::failed(output, FileProblem::Cancelled);
        const FileStatus replaced = save.replace([this] {
            if (m_afterReplace)
                m_afterReplace();
        });
        if (!replaced.ok())
            return named(replaced);
    }
    m_held.clear();
    if (m_files.source == output)
        setSourceFile(output);
    return {output};
}
