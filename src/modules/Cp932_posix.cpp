#include "modules/Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

// ICU's converter, through Qt.
namespace {

constexpr const char *kCodecName = "windows-31j";

} // namespace

QChar Cp932::systemDecodePair(uchar lead, uchar trail)
{
    // One converter for the whole table: opening one costs more than a conversion.
    static QStringDecoder decoder(kCodecName);
    decoder.resetState();
    const char pair[] = {char(lead), char(trail)};
    const QString character = decoder.decode(QByteArrayView(pair, 2));
    return character.size() == 1 ? character[0] : QChar(QChar::ReplacementCharacter);
}

QByteArray Cp932::systemEncode(QChar character)
{
    static QStringEncoder encoder(kCodecName);
    encoder.resetState();
    return encoder.encode(QStringView(&character, 1));
}
