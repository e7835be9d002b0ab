#include "modules/ProfileFile.h"

#include "modules/AtomicFile.h"

#include <QFileInfo>

namespace {

// More links than this in a row is a loop; the path is left for the write to fail on.
constexpr int kMaxLinkHops = 40;
// Enough of a file's start to tell its byte order mark (UTF-32's FF FE 00 00 included).
constexpr qint64 kByteOrderMarkProbe = 4;
// A file this small is read whole at once: its lookups read nothing more.
constexpr qint64 kWholeFileBytes = 1 << 20;

} // namespace

namespace ProfileFile {

QString resolvedPath(const QString &fileName)
{
    QFileInfo info(fileName);
    for (int hops = 0; info.isSymLink() && hops < kMaxLinkHops; ++hops)
        info.setFile(info.symLinkTarget());
    return info.absoluteFilePath();
}

Loaded load(const QString &fileName, const std::atomic<bool> &cancelled,
            const ExpectedNames &expected, const LinkCheck &checkLink)
{
    OpenedForReading opened = openForReading(fileName, checkLink);
    if (opened.status.problem == FileProblem::NotFound)
        return {ProfileDocument::open({}, cancelled, expected), {fileName}};
    if (!opened.status.ok())
        return {nullptr, opened.status};
    OpenedFile file{std::move(opened.file), opened.identity, {}};
    file.start.resize(file.identity.size <= kWholeFileBytes ? file.identity.size
                                                            : kByteOrderMarkProbe);
    if (!file.file.readAt(0, file.start.data(), file.start.size()))
        return {nullptr, FileStatus::failed(fileName, FileProblem::ReadFailed)};
    return {ProfileDocument::open(std::move(file), cancelled, expected), {fileName}};
}

FileStatus save(const QString &fileName, ProfileDocument &document,
                const std::function<bool()> &goOn)
{
    AtomicFile::removeLeftovers(fileName);
    if (!document.isDirty())
        return {fileName};
    const FileIdentity &old = document.identity();
    AtomicFile out(fileName, old.exists ? std::optional(old.permissions) : std::nullopt);
    if (!out.open())
        return out.status();
    if (!document.render(out)) {
        const FileProblem problem = document.readProblem();
        return problem != FileProblem::None ? FileStatus::failed(fileName, problem) : out.status();
    }
    if (!out.sync())
        return out.status();
    if (!goOn())
        return FileStatus::failed(fileName, FileProblem::Cancelled);
    if (!(FileIdentity::ofPath(fileName) == document.identity()))
        return FileStatus::failed(fileName, FileProblem::ChangedMeanwhile);
    if (!out.replace())
        return out.status();
    return {fileName};
}

} // namespace ProfileFile
