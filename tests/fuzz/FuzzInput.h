#pragma once

#include <QByteArray>
#include <QString>

#include <vector>

// One fuzz input: the bytes a settings file starts with, then the writes and reads to run
// on it. The two parts are split at the first kSeparator; an input without one is all file,
// and a fixed set of operations runs on it.
namespace FuzzInput {

inline constexpr char kSeparator[] = "\0OPS\0";

struct Write
{
    QString section;
    QString key;
    QString value;
    bool throughIniWrite; // else through WritePrivateProfileString
};

struct Read
{
    QString section;
    QString key;
    int size; // the reader's buffer size
};

// One step: a read, or one write or more; several writes go in one batch.
struct Step
{
    std::vector<Write> writes;
    Read read;
    bool isRead() const { return writes.empty(); }
};

struct Input
{
    QByteArray file;
    std::vector<Step> steps;
};

Input decode(const char *data, qsizetype size);

} // namespace FuzzInput
