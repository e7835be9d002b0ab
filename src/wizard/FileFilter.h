#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// One entry of an open-file dialog's list of file types.
struct FileFilter
{
    QString description;
    QStringList patterns; // as this platform matches them, e.g. "*.[Ee][Xx][Ee]"

    // The form QFileDialog takes: "実行可能なファイル (*.[Ee][Xx][Ee])".
    QString nameFilter() const;
};

namespace FileFilters {

// Reads a filter written the launcher platform's way: "description|pattern|" pairs, the last
// "|" optional, several patterns of one pair joined by ";". A description without a pattern
// is dropped.
QList<FileFilter> parse(const QString &filter);

// A pattern of the launcher platform, where names match in any case and "*.*" means every
// file, rewritten for this platform's case-sensitive file names.
QString localPattern(const QString &pattern);

// The dialog's name filters for a filter string, in its order.
QStringList nameFilters(const QString &filter);

} // namespace FileFilters
