#pragma once

#include "modules/WriteStatus.h"

#include <QString>

// Stand-ins for the platform's private-profile functions, which this platform lacks:
// the same reading and writing rules, carried out directly on the file's bytes.
namespace Module1 {

// Copies the value of key in section of fileName, cut to size - 1 bytes in the file's
// code page; defaultValue when the file, the section or the key is missing or unreadable.
QString GetPrivateProfileString(const QString &section, const QString &key,
                                const QString &defaultValue, int size, const QString &fileName);

// Sets key in section of fileName to value, adding the key or the section when missing.
// The file is replaced atomically; a failure comes back with its reason.
WriteStatus WritePrivateProfileString(const QString &section, const QString &key,
                                      const QString &value, const QString &fileName);

// While a batch lives, writes are kept in memory and a file read is parsed once, as the
// platform caches profile files: a save of many keys replaces the file once, at commit().
// Batches nest; only the outermost one writes.
class ProfileBatch
{
public:
    ProfileBatch();
    ~ProfileBatch(); // drops uncommitted writes
    ProfileBatch(const ProfileBatch &) = delete;
    ProfileBatch &operator=(const ProfileBatch &) = delete;

    // Writes every file changed in the batch; the first failure, if any.
    WriteStatus commit();
};

// Inside a batch, lookUp(name) is made once and its answer kept until the batch ends, as the
// files the batch reads are kept; outside a batch, every call makes it.
QString rememberedInBatch(QString (*lookUp)(const QString &), const QString &name);

} // namespace Module1
