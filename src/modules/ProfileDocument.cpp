#include "modules/ProfileDocument.h"

#include "modules/FileEncoding.h"
#include "modules/IniUnits.h"
#include "modules/TextDocument.h"

#include <QStringDecoder>
#include <QtGlobal>
#include <algorithm>

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN,
              "UTF-16LE files are copied into char16_t units as they are");

namespace {

// The value of a Unicode file as the platform's ANSI reader hands it over: converted to
// CP932, cut there, and decoded back.
QString readThroughCp932(const QString &value, qsizetype maxBytes)
{
    const QByteArray bytes = Cp932::encode(value);
    return Cp932::decode(Cp932::cut(bytes, maxBytes));
}

} // namespace

std::string Cp932Units::encode(const QString &text)
{
    // Section and key names are nearly always ASCII: they are copied over in one pass.
    std::string bytes(std::size_t(text.size()), '\0');
    const QChar *units = text.constData();
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (units[i].unicode() >= 0x80) {
            bytes = Cp932::encode(text).toStdString();
            break;
        }
        bytes[i] = char(units[i].unicode());
    }
    return bytes;
}

QString Cp932Units::read(std::string_view value, qsizetype maxBytes)
{
    return Cp932::decode(
        Cp932::cut(QByteArrayView(value.data(), qsizetype(value.size())), maxBytes));
}

std::string Utf8Units::encode(const QString &text)
{
    return text.toStdString();
}

QString Utf8Units::read(std::string_view value, qsizetype maxBytes)
{
    // QString::fromUtf8 drops a leading EF BB BF, which inside a value is a character.
    QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
    return readThroughCp932(utf8(QByteArrayView(value.data(), qsizetype(value.size()))), maxBytes);
}

std::u16string Utf16Units::encode(const QString &text)
{
    return text.toStdU16String();
}

QString Utf16Units::read(std::u16string_view value, qsizetype maxBytes)
{
    return readThroughCp932(
        QString(reinterpret_cast<const QChar *>(value.data()), qsizetype(value.size())), maxBytes);
}

std::unique_ptr<ProfileDocument> ProfileDocument::open(OpenedFile opened,
                                                       const std::atomic<bool> &cancelled,
                                                       const ExpectedNames &expected)
{
    switch (FileEncodings::fromHead(opened.start.first(qMin(opened.start.size(), 4)))) {
    case FileEncoding::Utf8:
        return std::make_unique<TextDocument<Utf8Units>>(std::move(opened), 3, cancelled, expected);
    case FileEncoding::Utf16LE:
        return std::make_unique<TextDocument<Utf16Units>>(std::move(opened), 2, cancelled,
                                                          expected);
    case FileEncoding::Cp932:
        break;
    }
    return std::make_unique<TextDocument<Cp932Units>>(std::move(opened), 0, cancelled, expected);
}
