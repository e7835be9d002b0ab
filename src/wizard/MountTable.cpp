#include "wizard/MountTable.h"

#include <QFile>
#include <algorithm>

namespace {

// Before the type: ID, parent ID, device, root, mount folder, options, any number of optional
// fields, and a "-". No field holds a blank: the kernel escapes those in paths.
constexpr int kFolderField = 4;

bool isOctalEscape(QByteArrayView field, qsizetype at)
{
    return field[at] == '\\' && at + 3 < field.size() &&
           std::all_of(field.begin() + at + 1, field.begin() + at + 4,
                       [](char c) { return c >= '0' && c <= '7'; });
}

// The kernel writes a space, tab, newline or backslash in a path as three octal digits.
QString unescaped(QByteArrayView field)
{
    if (!field.contains('\\'))
        return QFile::decodeName(field.toByteArray());
    QByteArray bytes;
    bytes.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        if (!isOctalEscape(field, i)) {
            bytes += field[i];
            continue;
        }
        bytes += char((field[i + 1] - '0') << 6 | (field[i + 2] - '0') << 3 | (field[i + 3] - '0'));
        i += 3;
    }
    return QFile::decodeName(bytes);
}

// Where the field after the one starting at from starts; -1 when there is none.
qsizetype nextField(QByteArrayView line, qsizetype from)
{
    const qsizetype blank = line.indexOf(' ', from);
    return blank < 0 ? -1 : blank + 1;
}

} // namespace

std::optional<QList<MountEntry>> MountTable::read()
{
    QFile table(QStringLiteral("/proc/self/mountinfo"));
    if (!table.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QByteArray text = table.readAll();
    QList<MountEntry> entries;
    for (qsizetype start = 0; start < text.size();) {
        const qsizetype end = text.indexOf('\n', start);
        const qsizetype stop = end < 0 ? text.size() : end;
        if (std::optional<MountEntry> entry =
                parseLine(QByteArrayView(text).sliced(start, stop - start)))
            entries.append(*entry);
        start = stop + 1;
    }
    return entries;
}

std::optional<MountEntry> MountTable::parseLine(QByteArrayView line)
{
    qsizetype folder = 0;
    for (int field = 0; field < kFolderField && folder >= 0; ++field)
        folder = nextField(line, folder);
    const qsizetype options = folder < 0 ? -1 : nextField(line, folder);
    const qsizetype separator = options < 0 ? -1 : line.indexOf(" - ", options - 1);
    if (separator < 0 || separator + 3 >= line.size())
        return std::nullopt;
    const qsizetype type = separator + 3;
    const qsizetype typeEnd = line.indexOf(' ', type);
    return MountEntry{
        unescaped(line.sliced(folder, options - 1 - folder)),
        QString::fromLatin1(line.sliced(type, (typeEnd < 0 ? line.size() : typeEnd) - type))};
}
