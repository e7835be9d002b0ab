#pragma once

#include "modules/ProfileDocument.h"
#include "modules/WriteStatus.h"

#include <QString>

#include <memory>

// Profile files on disk: opened for reading in pieces, and only ever replaced atomically.
namespace ProfileFile {

// A file's document, or why the file cannot be read (document is then null).
struct Loaded
{
    std::unique_ptr<ProfileDocument> document;
    QString error;
};

// The absolute path a write to fileName lands in: symbolic links followed to their target,
// so that a link stays a link.
QString resolvedPath(const QString &fileName);

// The document of fileName, which keeps it open; an empty document when the file does not
// exist, and an error when it exists but cannot be read (a folder, a device, a FIFO, no
// permission).
Loaded load(const QString &fileName);

// Replaces fileName with the rendered document through a temporary file in its folder, so
// that it holds either its old or its new content at any instant; permissions are kept. A
// document without pending writes leaves the file as it is. Either way, what an earlier save
// that was killed left beside the file is removed.
WriteStatus save(const QString &fileName, ProfileDocument &document);

} // namespace ProfileFile
