#pragma once

#include <QString>

// The outcome of writing the settings file: which file, and why it could not be written.
struct WriteStatus
{
    QString fileName;
    QString reason; // empty when the write succeeded

    bool ok() const { return reason.isEmpty(); }
    static WriteStatus failed(const QString &fileName, const QString &reason)
    {
        return {fileName, reason};
    }
};
