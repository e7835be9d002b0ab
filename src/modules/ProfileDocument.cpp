#include "modules/ProfileDocument.h"

#include "modules/Cp932.h"

#include <QStringDecoder>
#include <QtGlobal>

#include <algorithm>
#include <cstring>

static_assert(Q_BYTE_ORDER == Q_LITTLE_ENDIAN, "UTF-16LE files are copied into QChar as they are");

namespace {

const QString kLineBreak = QStringLiteral("\r\n");

// What the platform's reader trims around names and values: blanks, the other white-space
// control codes, and Ctrl-Z, the end-of-file mark of DOS-era editors.
bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'\v' || c == u'\f' || c == QChar(0x1A);
}

bool isBreak(QChar c)
{
    return c == u'\r' || c == u'\n';
}

QStringView trimmed(QStringView text)
{
    while (!text.isEmpty() && isBlank(text.front()))
        text = text.mid(1);
    while (!text.isEmpty() && isBlank(text.back()))
        text.chop(1);
    return text;
}

// A value as it reads: blanks around it dropped, then one pair of matching outer quotes.
QStringView readValue(QStringView raw)
{
    const QStringView v = trimmed(raw);
    const bool quoted =
        v.size() >= 2 && v.front() == v.back() && (v.front() == u'"' || v.front() == u'\'');
    return quoted ? v.mid(1, v.size() - 2) : v;
}

QChar folded(QChar c)
{
    return (c >= u'A' && c <= u'Z') ? QChar(c.unicode() + ('a' - 'A')) : c;
}

// The value of a Unicode file as the platform's ANSI reader hands it over: converted to
// code page 932, cut there, and decoded back.
QString throughCp932(const QString &value, qsizetype maxBytes)
{
    return Cp932::decode(Cp932::cut(Cp932::encode(value), maxBytes));
}

} // namespace

bool ProfileDocument::isBlank(QStringView name)
{
    return trimmed(name).isEmpty();
}

ProfileDocument::ProfileDocument(const QByteArray &bytes)
    : m_encoding(FileEncodings::fromHead(bytes.first(qMin<qsizetype>(bytes.size(), 4))))
{
    switch (m_encoding) {
    case FileEncoding::Cp932:
        m_text = QString::fromLatin1(bytes);
        break;
    case FileEncoding::Utf8:
        m_byteOrderMark = bytes.first(3);
        m_text = QString::fromLatin1(bytes.sliced(3));
        break;
    case FileEncoding::Utf16LE: {
        m_byteOrderMark = bytes.first(2);
        const qsizetype units = (bytes.size() - 2) / 2;
        m_text = QString(units, Qt::Uninitialized);
        std::memcpy(m_text.data(), bytes.constData() + 2, std::size_t(units) * 2);
        m_oddByte = bytes.sliced(2 + units * 2);
        break;
    }
    }
}

QByteArray ProfileDocument::bytes() const
{
    if (m_encoding != FileEncoding::Utf16LE)
        return m_byteOrderMark + m_text.toLatin1();
    return m_byteOrderMark +
           QByteArray(reinterpret_cast<const char *>(m_text.utf16()), m_text.size() * 2) +
           m_oddByte;
}

std::optional<QString> ProfileDocument::value(const QString &section, const QString &key,
                                              qsizetype maxBytes) const
{
    const std::optional<Section> found = find(units(section), units(key));
    if (!found || !found->key)
        return std::nullopt;
    const KeyLine &line = *found->key;
    return decoded(readValue(QStringView(m_text).sliced(line.value, line.end - line.value)),
                   maxBytes);
}

void ProfileDocument::write(const std::vector<Write> &writes)
{
    std::vector<Write> once;
    for (const Write &write : writes) {
        const auto earlier = std::find_if(once.begin(), once.end(), [&](const Write &w) {
            return sameName(trimmed(units(w.section)), trimmed(units(write.section))) &&
                   sameName(trimmed(units(w.key)), trimmed(units(write.key)));
        });
        if (earlier != once.end())
            earlier->value = write.value;
        else
            once.push_back(write);
    }
    for (const Write &write : once)
        writeOne(write);
}

void ProfileDocument::writeOne(const Write &write)
{
    const QString key = units(write.key);
    const QString value = units(write.value);
    const std::optional<Section> found = find(units(write.section), key);
    if (!found) {
        // A new section starts a line of its own, even after a last line without a break.
        if (!m_text.isEmpty() && !isBreak(m_text.back()))
            m_text += kLineBreak;
        m_text += u'[' + units(write.section) + u']' + kLineBreak + key + u'=' + value + kLineBreak;
    } else if (!found->key) {
        const qsizetype at = found->insertAt;
        const bool breakFirst = at > 0 && !isBreak(m_text[at - 1]);
        m_text.insert(at, (breakFirst ? kLineBreak : QString()) + key + u'=' + value + kLineBreak);
    } else {
        const KeyLine &line = *found->key;
        const QStringView old = QStringView(m_text).sliced(line.value, line.end - line.value);
        if (readValue(old) == readValue(value))
            return;
        m_text.replace(line.value, old.size(),
                       (line.hasEquals ? QString() : QStringLiteral("=")) + value);
    }
    m_changed = true;
    m_linesFound = false;
}

QString ProfileDocument::units(const QString &text) const
{
    if (m_encoding == FileEncoding::Utf16LE)
        return text;
    return QString::fromLatin1(m_encoding == FileEncoding::Utf8 ? text.toUtf8()
                                                                : Cp932::encode(text));
}

QString ProfileDocument::decoded(QStringView valueUnits, qsizetype maxBytes) const
{
    switch (m_encoding) {
    case FileEncoding::Cp932:
        return Cp932::decode(Cp932::cut(valueUnits.toLatin1(), maxBytes));
    case FileEncoding::Utf8: {
        // An EF BB BF at a value's start is a character, not a byte order mark to drop.
        QStringDecoder utf8(QStringConverter::Utf8, QStringConverter::Flag::ConvertInitialBom);
        return throughCp932(utf8(valueUnits.toLatin1()), maxBytes);
    }
    case FileEncoding::Utf16LE:
        break;
    }
    return throughCp932(valueUnits.toString(), maxBytes);
}

// Whether the units at at make one double-byte character of code page 932, whose second byte
// is never structure and never case-folded.
bool ProfileDocument::isPair(QStringView text, qsizetype at) const
{
    return m_encoding == FileEncoding::Cp932 && at + 1 < text.size() &&
           Cp932::isLeadByte(uchar(text[at].unicode())) &&
           Cp932::isTrailByte(uchar(text[at + 1].unicode()));
}

// Compares trimmed names as the profile functions do: ASCII letters without regard to case.
bool ProfileDocument::sameName(QStringView a, QStringView b) const
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (a[i] != b[i] && folded(a[i]) != folded(b[i]))
            return false;
        if (isPair(a, i)) {
            ++i;
            if (a[i] != b[i])
                return false;
        }
    }
    return true;
}

// The lines of the text; CR, LF and CRLF each end a line.
const std::vector<ProfileDocument::Line> &ProfileDocument::lines() const
{
    if (m_linesFound)
        return m_lines;
    m_lines.clear();
    // The next CR and the next LF, each looked for again only once passed.
    const QStringView text(m_text);
    qsizetype cr = text.indexOf(u'\r');
    qsizetype lf = text.indexOf(u'\n');
    for (qsizetype start = 0; start < text.size();) {
        cr = cr >= 0 && cr < start ? text.indexOf(u'\r', start) : cr;
        lf = lf >= 0 && lf < start ? text.indexOf(u'\n', start) : lf;
        const qsizetype end = std::min(cr < 0 ? text.size() : cr, lf < 0 ? text.size() : lf);
        const qsizetype breakSize = end == text.size() ? 0 : (end == cr && lf == cr + 1) ? 2 : 1;
        m_lines.push_back({start, end, end + breakSize});
        start = end + breakSize;
    }
    m_linesFound = true;
    return m_lines;
}

// The trimmed name of a header line, "[" after blanks and closed by "]"; nothing for any
// other line. A "]" that is the second byte of a character closes nothing.
std::optional<QStringView> ProfileDocument::headerName(QStringView content) const
{
    const QStringView text = trimmed(content);
    if (text.isEmpty() || text.front() != u'[')
        return std::nullopt;
    for (qsizetype i = 1; i < text.size(); i += isPair(text, i) ? 2 : 1) {
        if (text[i] == u']')
            return trimmed(text.mid(1, i - 1));
    }
    return std::nullopt;
}

// The first section called section, and in it the first line of key.
std::optional<ProfileDocument::Section> ProfileDocument::find(QStringView section,
                                                              QStringView key) const
{
    section = trimmed(section);
    key = trimmed(key);
    std::optional<Section> found;
    for (const Line &line : lines()) {
        const QStringView content =
            QStringView(m_text).mid(line.start, line.contentEnd - line.start);
        const std::optional<QStringView> header = headerName(content);
        if (!found) {
            if (header && sameName(*header, section))
                found = Section{line.end, std::nullopt};
            continue;
        }
        if (header)
            break;
        if (isBlank(content))
            continue;
        found->insertAt = line.end;
        const qsizetype equals = content.indexOf(u'=');
        if (sameName(trimmed(content.left(equals)), key)) {
            // A line without "=" reads as an empty value; a write gives it one.
            const qsizetype value = equals < 0 ? line.contentEnd : line.start + equals + 1;
            found->key = KeyLine{value, line.contentEnd, equals >= 0};
            break;
        }
    }
    return found;
}
