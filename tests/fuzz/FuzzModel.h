#pragma once

#include "ExpectedRead.h"
#include "FuzzInput.h"

#include "modules/ProfileSession.h"

#include <QString>

#include <memory>
#include <vector>

// What every key of the file should read now: the value last written to it, or, for a key
// never written, what the untouched copy of the file gives. A copy of the model is what to go
// back to when a save is refused.
class FuzzModel
{
public:
    FuzzModel(const ExpectedRead &expected, const QString &original);

    void wrote(const FuzzInput::Write &write);
    QString expectedRead(const QString &section, const QString &key, int size);

    // A key read from file with a buffer of size; kMissing when it is not there.
    static QString read(const QString &section, const QString &key, int size, const QString &file);
    static const QString kMissing;

private:
    struct Entry
    {
        QString section;
        QString key;
        QString value; // whole, as the reader gives it with a buffer large enough
    };

    Entry *find(const QString &section, const QString &key);

    const ExpectedRead *m_expected;
    // The untouched copy is never written: read once for all keys, and shared by the model's
    // copies.
    std::shared_ptr<ProfileSession> m_originalReader;
    std::vector<Entry> m_entries;
};
