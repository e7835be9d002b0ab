#pragma once

#include <QString>
#include <QStringList>

// Open-file dialog filters written the launcher platform's way, for this platform's dialog.
namespace FileFilters {

// The dialog's name filters, in order, for "description|pattern|" pairs (the last "|"
// optional, several patterns of one pair joined by ";"): "実行可能なファイル (*.[Ee][Xx][Ee])".
// A description without a pattern is dropped.
QStringList nameFilters(const QString &filter);

// A pattern of the launcher platform, where names match in any case and "*.*" means every
// file, rewritten for this platform's case-sensitive file names.
QString localPattern(const QString &pattern);

} // namespace FileFilters
