#include "modules/Cp932.h"

#include <windows.h>

// Windows' own code page 932, which Qt without ICU does not convert.
namespace {

constexpr UINT kCodePage = 932;

} // namespace

QChar Cp932::systemDecodePair(uchar lead, uchar trail)
{
    const char pair[] = {char(lead), char(trail)};
    wchar_t character[2] = {};
    const int length = MultiByteToWideChar(kCodePage, MB_ERR_INVALID_CHARS, pair, 2, character, 2);
    return length == 1 ? QChar(char16_t(character[0])) : QChar(QChar::ReplacementCharacter);
}

QByteArray Cp932::systemEncode(QChar character)
{
    const auto wide = wchar_t(character.unicode());
    char code[2] = {};
    BOOL substituted = FALSE;
    const int length = WideCharToMultiByte(kCodePage, WC_NO_BEST_FIT_CHARS, &wide, 1, code, 2,
                                           nullptr, &substituted);
    return length > 0 && !substituted ? QByteArray(code, length) : QByteArray();
}
