#pragma once

#include "modules/FileIdentity.h"
#include "modules/FileStatus.h"
#include "modules/ProfileStream.h"

#include <QByteArray>
#include <QFile>
#include <QString>
#include <QStringList>

#include <atomic>
#include <memory>
#include <optional>

// The section and key names a document is to be asked for: the only ones it notes while it
// reads. Any other name is still found, by looking again through what was read.
struct ExpectedNames
{
    QStringList sections;
    QStringList keys;
};

// One profile file, read where it lies in its own encoding, with the writes not yet saved
// kept beside its untouched bytes.
class ProfileDocument
{
public:
    virtual ~ProfileDocument() = default;

    // The document of an opened file: UTF-8 or UTF-16LE when it starts with that byte order
    // mark, code page 932 otherwise. Reading fails once cancelled is set.
    static std::unique_ptr<ProfileDocument>
    open(OpenedFile opened, const std::atomic<bool> &cancelled, const ExpectedNames &expected);

    // The value of key in the first section called section, as read with the pending writes,
    // cut to maxBytes of CP932; nothing when the section or the key is missing.
    virtual std::optional<QString> value(const QString &section, const QString &key,
                                         qsizetype maxBytes) = 0;

    // Sets key in section to value in memory; a value that would read back the same as the
    // value in the file leaves the line as it is.
    virtual void write(const QString &section, const QString &key, const QString &value) = 0;

    // Whether any write is pending.
    virtual bool isDirty() const = 0;

    // Why the file could not be read through: ReadFailed or Cancelled; None when it could.
    virtual FileProblem readProblem() const = 0;

    // The file as it was when it was opened.
    virtual const FileIdentity &identity() const = 0;

    // Writes the file's bytes with the pending writes spliced in; false when reading or
    // writing failed (readProblem() tells which).
    virtual bool render(QIODevice &out) = 0;
};
