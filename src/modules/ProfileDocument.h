#pragma once

#include <QByteArray>
#include <QIODevice>
#include <QString>

#include <memory>
#include <optional>

// One profile file's content in memory, in the file's own encoding, with the writes not yet
// saved kept beside the untouched bytes of the file.
class ProfileDocument
{
public:
    virtual ~ProfileDocument() = default;

    // The document of a file's bytes: UTF-8 or UTF-16LE when they start with that byte order
    // mark, code page 932 otherwise.
    static std::unique_ptr<ProfileDocument> fromBytes(QByteArray bytes);

    // The value of key in the first section called section, as read with the pending writes,
    // cut to maxBytes of CP932; nothing when the section or the key is missing.
    virtual std::optional<QString> value(const QString &section, const QString &key,
                                         qsizetype maxBytes) = 0;

    // Sets key in section to value in memory; a value that would read back the same as the
    // value in the file leaves the line as it is.
    virtual void write(const QString &section, const QString &key, const QString &value) = 0;

    // Whether any write is pending.
    virtual bool isDirty() const = 0;

    // Writes the file's bytes with the pending writes spliced in; false when the device fails.
    virtual bool render(QIODevice &out) const = 0;
};
