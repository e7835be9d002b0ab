#include "modules/Cp932.h"

#include <QStringDecoder>
#include <QStringEncoder>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

constexpr const char *kCodecName = "windows-31j";

// JIS forms typed by input methods, and the characters CP932 stores for them.
constexpr char32_t kJisForms[][2] = {
    {0x301C, 0xFF5E}, // WAVE DASH
    {0x2016, 0x2225}, // DOUBLE VERTICAL LINE
    {0x2212, 0xFF0D}, // MINUS SIGN
    {0x00A2, 0xFFE0}, // CENT SIGN
    {0x00A3, 0xFFE1}, // POUND SIGN
    {0x00AC, 0xFFE2}, // NOT SIGN
    {0x2014, 0x2015}, // EM DASH
};

// The single bytes that start no character: the platform still gives each a character of its
// own, so that a value holding one reads and writes back as the same byte.
constexpr std::pair<uchar, char16_t> kLoneBytes[] = {
    {0x80, 0x0080}, {0xA0, 0xF8F0}, {0xFD, 0xF8F1}, {0xFE, 0xF8F2}, {0xFF, 0xF8F3},
};

constexpr uchar kFirstKanaByte = 0xA1;
constexpr uchar kLastKanaByte = 0xDF;
constexpr char32_t kFirstKana = 0xFF61;
constexpr char32_t kLastKana = kFirstKana + (kLastKanaByte - kFirstKanaByte);

char32_t windowsForm(char32_t c)
{
    for (const auto &[jis, windows] : kJisForms) {
        if (c == jis)
            return windows;
    }
    return c;
}

// The character of one byte that stands alone: ASCII, half-width katakana, a lone byte's
// own character, or U+FFFD for a lead byte without its trail byte.
QChar singleByteChar(uchar b)
{
    if (b < 0x80)
        return QChar(b);
    if (b >= kFirstKanaByte && b <= kLastKanaByte)
        return QChar(char16_t(kFirstKana + (b - kFirstKanaByte)));
    for (const auto &[byte, character] : kLoneBytes) {
        if (b == byte)
            return QChar(character);
    }
    return QChar::ReplacementCharacter;
}

// The byte that stands for c on its own; 0 when c is no such character.
uchar singleByteOf(char32_t c)
{
    if (c < 0x80)
        return uchar(c);
    if (c >= kFirstKana && c <= kLastKana)
        return uchar(kFirstKanaByte + (c - kFirstKana));
    for (const auto &[byte, character] : kLoneBytes) {
        if (c == character)
            return byte;
    }
    return 0;
}

// ICU's converters take longer to make than most values take to convert: each thread keeps
// one of each, reset before every use so that no call sees another's state.
QStringEncoder &freshEncoder()
{
    thread_local QStringEncoder encoder(kCodecName);
    encoder.resetState();
    return encoder;
}

QStringDecoder &freshDecoder()
{
    thread_local QStringDecoder decoder(kCodecName);
    decoder.resetState();
    return decoder;
}

// Whether every byte is ASCII, which CP932 stores as it is.
bool isAsciiBytes(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char b) { return uchar(b) < 0x80; });
}

// Appends the CP932 bytes of one code point to out; false, appending nothing, when CP932
// cannot hold it.
bool appendCodePoint(char32_t c, QByteArray &out)
{
    c = windowsForm(c);
    if (const uchar single = singleByteOf(c); single != 0 || c == 0) {
        out += char(single);
        return true;
    }
    if (QChar::isSurrogate(c))
        return false;
    // fromUcs4() returns a temporary: keep it alive while the view points into it.
    const auto ucs4 = QChar::fromUcs4(c);
    const QStringView character = ucs4;
    QStringEncoder &icu = freshEncoder();
    char buffer[16];
    Q_ASSERT(icu.requiredSpace(character.size()) <= qsizetype(sizeof buffer));
    const QByteArrayView bytes(buffer, icu.appendToBuffer(buffer, character) - buffer);
    // 0xFCFC is no CP932 character: it is ICU's substitute.
    if (bytes.isEmpty() || bytes == QByteArrayView("\xFC\xFC"))
        return false;
    out += bytes;
    return true;
}

// Calls f(character, codePoint) for each character of text; a surrogate pair is one.
template <typename F> void forEachCharacter(const QString &text, F f)
{
    for (qsizetype i = 0; i < text.size();) {
        const bool pair =
            text[i].isHighSurrogate() && i + 1 < text.size() && text[i + 1].isLowSurrogate();
        const char32_t c = pair ? QChar::surrogateToUcs4(text[i], text[i + 1]) : text[i].unicode();
        const qsizetype length = pair ? 2 : 1;
        f(QStringView(text).mid(i, length), c);
        i += length;
    }
}

} // namespace

namespace Cp932 {

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

qsizetype charLength(QByteArrayView bytes, qsizetype pos)
{
    const bool pair = isLeadByte(uchar(bytes[pos])) && pos + 1 < bytes.size() &&
                      isTrailByte(uchar(bytes[pos + 1]));
    return pair ? 2 : 1;
}

QByteArrayView cut(QByteArrayView bytes, qsizetype maxBytes)
{
    if (bytes.size() <= maxBytes)
        return bytes;
    qsizetype end = 0;
    while (end < maxBytes) {
        const qsizetype length = charLength(bytes, end);
        if (end + length > maxBytes)
            break;
        end += length;
    }
    return bytes.first(end);
}

QString decode(QByteArrayView bytes)
{
    if (isAsciiBytes(bytes))
        return QString::fromLatin1(bytes);
    QString text;
    text.reserve(bytes.size());
    qsizetype pairsFrom = 0;
    auto flushPairs = [&](qsizetype to) {
        if (to == pairsFrom)
            return;
        const QByteArrayView pairs = bytes.sliced(pairsFrom, to - pairsFrom);
        QStringDecoder &icu = freshDecoder();
        // Decoded in place, without a string of its own; an unmapped pair gives U+FFFD.
        const qsizetype at = text.size();
        text.resize(at + icu.requiredSpace(pairs.size()));
        text.truncate(icu.appendToBuffer(text.data() + at, pairs) - text.constData());
    };
    for (qsizetype i = 0; i < bytes.size();) {
        if (charLength(bytes, i) == 2) {
            i += 2;
            continue;
        }
        flushPairs(i);
        text += singleByteChar(uchar(bytes[i]));
        pairsFrom = ++i;
    }
    flushPairs(bytes.size());
    return text;
}

QByteArray encode(const QString &text)
{
    if (isAscii(text))
        return text.toLatin1();
    QByteArray bytes;
    bytes.reserve(text.size() * 2);
    forEachCharacter(text, [&](QStringView, char32_t c) {
        if (!appendCodePoint(c, bytes))
            bytes += '?';
    });
    return bytes;
}

QString unstorableCharacters(const QString &text)
{
    QString found;
    std::vector<char32_t> seen;
    QByteArray scratch;
    forEachCharacter(text, [&](QStringView character, char32_t c) {
        if (std::find(seen.begin(), seen.end(), c) != seen.end() || appendCodePoint(c, scratch))
            return;
        seen.push_back(c);
        found += character;
    });
    return found;
}

} // namespace Cp932
