#pragma once

#include <QByteArray>
#include <QIODevice>

#include <cstring>
#include <string>
#include <string_view>
#include <type_traits>

// A file's bytes as its text model sees them: the byte order mark, the text's units, and
// the odd last byte a UTF-16 file may have. Bytes are viewed where they were read; UTF-16
// units are copied out once, as bytes may not be read through a char16_t pointer.
template <typename Unit> class FileUnits
{
    using View = std::basic_string_view<Unit>;
    using Storage = std::conditional_t<sizeof(Unit) == 1, QByteArray, std::basic_string<Unit>>;

public:
    // bytes is the whole file, whose first prefix bytes are its byte order mark.
    FileUnits(const QByteArray &bytes, qsizetype prefix)
        : m_prefix(bytes.first(prefix)), m_storage(storageOf(bytes, prefix)),
          m_tail(bytes.sliced(prefix + unitCount(bytes, prefix) * qsizetype(sizeof(Unit))))
    {}

    View text() const
    {
        if constexpr (sizeof(Unit) == 1)
            return View(m_storage.constData() + m_prefix.size(),
                        m_storage.size() - m_prefix.size());
        else
            return View(m_storage);
    }

    const QByteArray &prefix() const { return m_prefix; }
    const QByteArray &tail() const { return m_tail; }

    // Writes size bytes to out, however many writes it takes; false when one fails.
    static bool writeAll(QIODevice &out, const void *bytes, qint64 size)
    {
        const char *data = static_cast<const char *>(bytes);
        while (size > 0) {
            const qint64 written = out.write(data, size);
            if (written <= 0)
                return false;
            data += written;
            size -= written;
        }
        return true;
    }

private:
    static qsizetype unitCount(const QByteArray &bytes, qsizetype prefix)
    {
        return (bytes.size() - prefix) / qsizetype(sizeof(Unit));
    }

    static Storage storageOf(const QByteArray &bytes, qsizetype prefix)
    {
        if constexpr (sizeof(Unit) == 1) {
            return bytes;
        } else {
            Storage units(unitCount(bytes, prefix), Unit());
            std::memcpy(units.data(), bytes.constData() + prefix, units.size() * sizeof(Unit));
            return units;
        }
    }

    QByteArray m_prefix;
    Storage m_storage;
    QByteArray m_tail;
};
