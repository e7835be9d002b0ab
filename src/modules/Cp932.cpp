#include "modules/Cp932.h"

#include <QVarLengthArray>

#include <algorithm>
#include <utility>
#include <vector>

namespace {

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

// Every double-byte code by its place in a table: 60 lead bytes, each with the trail bytes
// 0x40 to 0xFC (0x7F, which is no trail byte, keeps its place).
constexpr int kTrailBytes = 0xFC - 0x40 + 1;
constexpr int kLeadBytes = (0x9F - 0x81 + 1) + (0xFC - 0xE0 + 1);

int pairIndex(uchar lead, uchar trail)
{
    const int leadIndex = lead <= 0x9F ? lead - 0x81 : lead - 0xE0 + (0x9F - 0x81 + 1);
    return leadIndex * kTrailBytes + (trail - 0x40);
}

// The double-byte characters both ways, as ICU converts them, made once: converting a value
// is then a lookup per character instead of a call into ICU.
struct PairTables
{
    std::vector<char16_t> characters;                // by pairIndex; U+FFFD where none
    std::vector<std::pair<char16_t, quint16>> codes; // sorted by character
};

PairTables makePairTables()
{
    PairTables tables{std::vector<char16_t>(kLeadBytes * kTrailBytes, QChar::ReplacementCharacter),
                      {}};
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; Cp932::isLeadByte(uchar(lead)) && trail <= 0xFC; ++trail) {
            const char pair[] = {char(lead), char(trail)};
            const QChar character = Cp932::systemDecodePair(uchar(lead), uchar(trail));
            if (!Cp932::isTrailByte(uchar(trail)) || character == QChar::ReplacementCharacter)
                continue;
            tables.characters[pairIndex(uchar(lead), uchar(trail))] = character.unicode();
            // Of codes that share a character (NEC's and IBM's), the one the system writes.
            const QByteArray code = Cp932::systemEncode(character);
            if (code.size() == 2 && code == QByteArrayView(pair, 2))
                tables.codes.emplace_back(character.unicode(), quint16(lead << 8 | trail));
        }
    }
    std::sort(tables.codes.begin(), tables.codes.end());
    return tables;
}

const PairTables &pairTables()
{
    static const PairTables tables = makePairTables();
    return tables;
}

// Whether every byte or character is ASCII, which CP932 stores as it is.
bool isAscii(QByteArrayView bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char b) { return uchar(b) < 0x80; });
}

bool isAscii(QStringView text)
{
    return std::all_of(text.begin(), text.end(), [](QChar c) { return c.unicode() < 0x80; });
}

// The length (1 or 2 bytes) of the character that starts at pos; a lead byte without a
// trail byte after it counts alone.
qsizetype charLength(QByteArrayView bytes, qsizetype pos)
{
    const bool pair = Cp932::isLeadByte(uchar(bytes[pos])) && pos + 1 < bytes.size() &&
                      Cp932::isTrailByte(uchar(bytes[pos + 1]));
    return pair ? 2 : 1;
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
    const auto &codes = pairTables().codes;
    const auto found =
        std::lower_bound(codes.begin(), codes.end(), std::pair(char16_t(c), quint16(0)));
    if (c > 0xFFFF || found == codes.end() || found->first != c)
        return false;
    out += char(found->second >> 8);
    out += char(found->second & 0xFF);
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
    if (isAscii(bytes))
        return QString::fromLatin1(bytes);
    const char16_t *characters = pairTables().characters.data();
    // Never more characters than bytes: decoded into a buffer first, the string is made once
    // at its size.
    QVarLengthArray<char16_t, 1024> text(bytes.size());
    auto out = text.begin();
    for (qsizetype i = 0; i < bytes.size(); ++out) {
        const uchar b = uchar(bytes[i]);
        if (b < 0x80) {
            *out = char16_t(b);
            ++i;
        } else if (charLength(bytes, i) == 2) {
            *out = characters[pairIndex(b, uchar(bytes[i + 1]))];
            i += 2;
        } else {
            *out = singleByteChar(b).unicode();
            ++i;
        }
    }
    return QString(reinterpret_cast<const QChar *>(text.data()), out - text.begin());
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
