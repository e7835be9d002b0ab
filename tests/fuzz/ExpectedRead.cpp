#include "ExpectedRead.h"

#include <QStringDecoder>

namespace {

// The JIS forms that input methods type, and the CP932 code each is stored under.
constexpr char32_t kJisForms[][2] = {
    {0x301C, 0x8160}, {0x2016, 0x8161}, {0x2212, 0x817C}, {0x00A2, 0x8191},
    {0x00A3, 0x8192}, {0x00AC, 0x81CA}, {0x2014, 0x815C},
};

bool isLead(int b)
{
    return (b >= 0x81 && b <= 0x9F) || (b >= 0xE0 && b <= 0xFC);
}

bool isTrail(int b)
{
    return b >= 0x40 && b <= 0xFC && b != 0x7F;
}

} // namespace

ExpectedRead::ExpectedRead()
{
    for (char32_t c = 0; c < 0x80; ++c)
        m_bytes.insert(c, 1);
    for (char32_t kana = 0xFF61; kana <= 0xFF9F; ++kana)
        m_bytes.insert(kana, 1);
    // The bytes that start no character stand for these, each on its own.
    for (char32_t lone : {0x0080, 0xF8F0, 0xF8F1, 0xF8F2, 0xF8F3})
        m_bytes.insert(lone, 1);
    addDoubleByteCharacters();
}

// Every code a lead and a trail byte make that decodes to one character: that character
// is stored in two bytes. The JIS forms read back as the character of their code.
void ExpectedRead::addDoubleByteCharacters()
{
    QStringDecoder decoder("windows-31j");
    QHash<int, char32_t> byCode;
    for (int lead = 0x81; lead <= 0xFC; ++lead) {
        for (int trail = 0x40; isLead(lead) && trail <= 0xFC; ++trail) {
            if (!isTrail(trail))
                continue;
            // A whole pair leaves no state behind; an unmapped one decodes as U+FFFD.
            const char pair[] = {char(lead), char(trail)};
            const QString text = decoder.decode(QByteArrayView(pair, 2));
            if (text.size() != 1 || text[0] == QChar::ReplacementCharacter)
                continue;
            byCode.insert(lead << 8 | trail, text[0].unicode());
            m_bytes.insert(text[0].unicode(), 2);
        }
    }
    for (const auto &[jis, code] : kJisForms)
        m_jisForms.insert(jis, byCode.value(int(code)));
}

QString ExpectedRead::stored(const QString &value) const
{
    QString out;
    for (const char32_t c : value.toUcs4()) {
        if (c == 0)
            continue;
        const char32_t mended = (c == '\r' || c == '\n') ? U' ' : m_jisForms.value(c, c);
        out += m_bytes.contains(mended) ? QString::fromUcs4(&mended, 1) : QStringLiteral("?");
    }
    return out;
}

QString ExpectedRead::unwrapped(const QString &stored)
{
    const QString value = trimmedBlanks(stored);
    const bool quoted = value.size() >= 2 && value.front() == value.back() &&
                        (value.front() == u'"' || value.front() == u'\'');
    return quoted ? value.sliced(1, value.size() - 2) : value;
}

QString ExpectedRead::trimmedBlanks(QString text)
{
    auto blank = [](QChar c) {
        return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == QChar(0x1A);
    };
    while (!text.isEmpty() && blank(text.front()))
        text.remove(0, 1);
    while (!text.isEmpty() && blank(text.back()))
        text.chop(1);
    return text;
}

QString ExpectedRead::cut(const QString &stored, qsizetype maxBytes) const
{
    qsizetype bytes = 0;
    for (qsizetype i = 0; i < stored.size(); ++i) {
        bytes += m_bytes.value(stored[i].unicode());
        if (bytes > maxBytes)
            return stored.left(i);
    }
    return stored;
}

qsizetype ExpectedRead::cp932Length(const QString &stored) const
{
    qsizetype bytes = 0;
    for (const QChar c : stored)
        bytes += m_bytes.value(c.unicode());
    return bytes;
}
