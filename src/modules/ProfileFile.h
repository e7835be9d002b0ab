#pragma once

#include "modules/FileDescriptor.h"
#include "modules/FileIdentity.h"
#include "modules/FileStatus.h"
#include "modules/ProfileDocument.h"

#include <QString>

#include <functional>
#include <memory>

// Profile files on disk: opened for reading in pieces, and only ever replaced atomically.
namespace ProfileFile {

// A file's document, or why the file cannot be read (document is then null).
struct Loaded
{
    std::unique_ptr<ProfileDocument> document;
    FileStatus status;
};

// The absolute path a write to fileName lands in: symbolic links followed to their target,
// so that a link stays a link.
QString resolvedPath(const QString &fileName);

// Why a link is not to be followed; None when it may be.
using LinkCheck = std::function<FileProblem(const QString &link)>;

// The document of fileName, which keeps it open; an empty document when the file does not
// exist, and a failure when it exists but cannot be read (a folder, a device, a FIFO, no
// permission). Given checkLink, a link that fileName names is followed only when checkLink
// lets it, and fails with its problem otherwise.
Loaded load(const QString &fileName, const std::atomic<bool> &cancelled,
            const ExpectedNames &expected, const LinkCheck &checkLink = {});

// The system's part of load(): fileName opened for reading without waiting on a FIFO, and
// found to be a regular file; a link that fileName names is followed only when checkLink, if
// given, lets it. NotFound when there is no such file.
struct OpenedForReading
{
    FileDescriptor file;
    FileIdentity identity;
    FileStatus status;
};
OpenedForReading openForReading(const QString &fileName, const LinkCheck &checkLink);

// Replaces fileName with the rendered document (AtomicFile), keeping its permissions, unless
// the file changed on disk since the document read it: then nothing is written. goOn runs
// between writing the new content and that check; false cancels the save. A document without
// pending writes leaves the file as it is. Either way, what killed saves left beside it goes.
FileStatus save(const QString &fileName, ProfileDocument &document,
                const std::function<bool()> &goOn);

} // namespace ProfileFile
