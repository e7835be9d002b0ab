#pragma once

#include <QHash>
#include <QString>

// What reading a key gives back after the program wrote a value to it, worked out on
// characters, apart from the module's own byte-level code: the writer's mends (CR and LF
// become a space, NUL is dropped, JIS forms take CP932's characters, what CP932 cannot hold
// becomes "?"), then the reader's rules (blanks trimmed, one pair of outer quotes removed,
// cut to whole characters within the buffer).
class ExpectedRead
{
public:
    ExpectedRead();

    // The value as the file holds it once decoded, whatever the file's encoding.
    QString stored(const QString &value) const;
    // The stored value as the reader gives it whole: trimmed and unquoted.
    static QString unwrapped(const QString &stored);
    // text without the spaces and tabs at either end, which the reader ignores.
    static QString trimmedBlanks(QString text);
    // The longest start of a stored text that fits in maxBytes of CP932.
    QString cut(const QString &stored, qsizetype maxBytes) const;
    // The CP932 bytes of a stored text.
    qsizetype cp932Length(const QString &stored) const;

private:
    void addDoubleByteCharacters();

    QHash<char32_t, int> m_bytes; // each character CP932 holds, and its length in bytes
    QHash<char32_t, char32_t> m_jisForms;
};
