#include "FuzzInput.h"

#include "ExpectedRead.h"

#include <QByteArrayView>

#include <cstring>

namespace {

constexpr int kMaxSteps = 16;
constexpr int kMaxNameLength = 8;

// The characters names are made of: those of the wizard's own names, and more. The names
// callers pass are fixed and sensible (no "]", "=" or line break, no blank at either end),
// but they may hold ASCII letters in either case, blanks inside, and CP932 characters whose
// second byte is "\", "[" or "]", or an ASCII letter ("ア" and "ヂ" differ in that letter's
// case only). None of them shares its CP932 code with another character.
const QString &nameAlphabet()
{
    static const QString alphabet = QStringLiteral("NAMEPTHnameptho"
                                                   "jyuikfr0123456789 \t;#[@\\_."
                                                   "アヂソゾー表ｱﾟＡａ名前");
    return alphabet;
}

// Takes bytes off the front of the operations as they are decoded.
class Reader
{
public:
    explicit Reader(QByteArrayView bytes) : m_bytes(bytes) {}

    bool atEnd() const { return m_at >= m_bytes.size(); }
    uchar byte() { return atEnd() ? 0 : uchar(m_bytes[m_at++]); }
    QByteArrayView take(qsizetype count)
    {
        const QByteArrayView taken = m_bytes.sliced(m_at).first(qMin(count, remaining()));
        m_at += taken.size();
        return taken;
    }

private:
    qsizetype remaining() const { return m_bytes.size() - m_at; }

    QByteArrayView m_bytes;
    qsizetype m_at = 0;
};

// A name of one to eight alphabet characters; a key never starts with "[", as its line would
// then read as a section header whenever its value holds a "]".
QString name(Reader &in, bool isKey)
{
    const int length = in.byte() % kMaxNameLength + 1;
    QString text;
    for (int i = 0; i < length; ++i)
        text += nameAlphabet()[in.byte() % nameAlphabet().size()];
    text = ExpectedRead::trimmedBlanks(text);
    while (isKey && text.startsWith(u'['))
        text = ExpectedRead::trimmedBlanks(text.sliced(1));
    return text.isEmpty() ? QStringLiteral("k") : text;
}

// The UTF-16 units of bytes, which need not be aligned for them; an odd last byte is dropped.
QString utf16(QByteArrayView bytes)
{
    QString text(bytes.size() / 2, Qt::Uninitialized);
    std::memcpy(text.data(), bytes.data(), text.size() * sizeof(QChar));
    return text;
}

// A value: a piece of UTF-8, or of UTF-16 units (lone surrogates included), repeated up to
// 128 times, so that values pass the reader's buffer.
QString value(Reader &in)
{
    const uchar flags = in.byte();
    const QByteArrayView piece = in.take(in.byte());
    return ((flags & 1) ? utf16(piece) : QString::fromUtf8(piece))
        .repeated(1 << ((flags >> 1) % 8));
}

FuzzInput::Write write(Reader &in, bool throughIniWrite)
{
    QString section = name(in, false);
    QString key = name(in, true);
    return {std::move(section), std::move(key), value(in), throughIniWrite};
}

FuzzInput::Step step(Reader &in)
{
    const uchar kind = in.byte();
    switch (kind % 4) {
    case 0:
    case 1:
        return {{write(in, kind % 4 == 1)}, {}};
    case 2: {
        QString section = name(in, false);
        QString key = name(in, true);
        return {{}, {std::move(section), std::move(key), in.byte() * 5}};
    }
    default: {
        FuzzInput::Step batch;
        for (int n = (kind >> 2) % 4 + 1; n > 0; --n)
            batch.writes.push_back(write(in, n % 2 == 0));
        return batch;
    }
    }
}

// Operations for an input that has none: the kinds of write the wizard makes.
std::vector<FuzzInput::Step> defaultSteps()
{
    return {
        {{{"NAME", "1", "ソフト", false}}, {}},
        {{{"PATH", "17", " \"a\\b.exe\" ", true}, {"onoff", "jyoutai", "1", false}}, {}},
        {{}, {"memo", "taitoru", 1024}},
    };
}

} // namespace

FuzzInput::Input FuzzInput::decode(const char *data, qsizetype size)
{
    const QByteArrayView all(data, size);
    const QByteArrayView separator(kSeparator, sizeof kSeparator - 1);
    const qsizetype at = all.indexOf(separator);
    if (at < 0)
        return {all.toByteArray(), defaultSteps()};
    Input input{all.first(at).toByteArray(), {}};
    Reader in(all.sliced(at + separator.size()));
    while (!in.atEnd() && input.steps.size() < kMaxSteps)
        input.steps.push_back(step(in));
    return input;
}
