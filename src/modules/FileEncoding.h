#pragma once

#include <QByteArrayView>
#include <QString>

// How a settings file stores its text: code page 932, unless it starts with the byte order
// mark of UTF-8 or UTF-16LE.
enum class FileEncoding { Cp932, Utf8, Utf16LE };

namespace FileEncodings {

// The encoding of a file that starts with head (its first four bytes are enough).
FileEncoding fromHead(QByteArrayView head);
// The encoding of the file there now; CP932 for one that does not exist or cannot be read.
FileEncoding of(const QString &fileName);

// Each distinct character of text that a file in encoding cannot hold, once, in order.
QString unstorableCharacters(FileEncoding encoding, const QString &text);

} // namespace FileEncodings
