#include "modules/FileEncoding.h"

#include "modules/Cp932.h"

#include <QFile>
#include <QFileInfo>
#include <QStringConverter>

FileEncoding FileEncodings::fromHead(QByteArrayView head)
{
    switch (QStringConverter::encodingForData(head).value_or(QStringConverter::System)) {
    case QStringConverter::Utf8:
        return FileEncoding::Utf8;
    case QStringConverter::Utf16LE:
        return FileEncoding::Utf16LE;
    default:
        return FileEncoding::Cp932;
    }
}

FileEncoding FileEncodings::of(const QString &fileName)
{
    // Only a regular file is opened: opening a FIFO would wait for a writer that never comes.
    QFile file(fileName);
    return QFileInfo(fileName).isFile() && file.open(QIODevice::ReadOnly | QIODevice::Unbuffered)
               ? fromHead(file.read(4))
               : FileEncoding::Cp932;
}

QString FileEncodings::unstorableCharacters(FileEncoding encoding, const QString &text)
{
    // Unicode files hold every character (a lone half of a surrogate pair is none).
    return encoding == FileEncoding::Cp932 ? Cp932::unstorableCharacters(text) : QString();
}
