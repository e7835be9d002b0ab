#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>

// Code page 932 as Windows has it. ICU's table rotates three control codes and substitutes
// 0xFC 0xFC for what it cannot encode, so single bytes are handled here and only double-byte
// characters go through ICU.
namespace Cp932 {

constexpr bool isLeadByte(uchar b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

constexpr bool isTrailByte(uchar b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

// The longest start of bytes that fits in maxBytes without splitting a double-byte character.
QByteArrayView cut(QByteArrayView bytes, qsizetype maxBytes);

// Decodes bytes; every byte that starts no valid character becomes U+FFFD and the bytes after
// it are decoded on their own.
QString decode(QByteArrayView bytes);

// Encodes text; the JIS forms that input methods type take CP932's own codes, and every
// character CP932 cannot hold becomes "?".
QByteArray encode(const QString &text);

// Each distinct character of text that encode() turns into "?", once, in order of appearance.
QString unstorableCharacters(const QString &text);

// The system's own converter, in Cp932_<system>.cpp, asked once per code for the tables the
// functions above use: the character of a double-byte code (U+FFFD for none), and the code it
// writes for a character (empty for none).
QChar systemDecodePair(uchar lead, uchar trail);
QByteArray systemEncode(QChar character);

} // namespace Cp932
