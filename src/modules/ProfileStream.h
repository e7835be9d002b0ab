#pragma once

#include "modules/FileDescriptor.h"
#include "modules/FileIdentity.h"

#include <QIODevice>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

// A file opened for reading: what it was then, and its first bytes, which are all of it when
// it is small.
struct OpenedFile
{
    FileDescriptor file; // none for a file that does not exist yet
    FileIdentity identity;
    QByteArray start;

    bool isWhole() const { return start.size() == identity.size; }
};

// The text of an open profile file, read in pieces where it lies rather than held whole, so a
// large file costs neither the memory nor the time of a full copy. The file stays open while
// its document lives; what it was at opening tells later whether it changed since. Reading
// stops, as a failure, once cancelled is set.
template <typename Unit> class ProfileStream
{
public:
    using String = std::basic_string<Unit>;
    using View = std::basic_string_view<Unit>;
    static constexpr qsizetype kPiece = (1 << 20) / qsizetype(sizeof(Unit));

    // The text of opened after its first prefixBytes, its byte order mark.
    // A file read whole is closed at once: nothing more is read from it, and a file that is
    // still open when it is replaced lingers on the disk until it is closed.
    ProfileStream(OpenedFile opened, qsizetype prefixBytes, const std::atomic<bool> &cancelled)
        : m_file(opened.isWhole() ? FileDescriptor() : std::move(opened.file)),
          m_prefix(opened.start.first(prefixBytes)), m_cancelled(cancelled),
          m_opened(opened.identity)
    {
        const qint64 textBytes = m_opened.size - prefixBytes;
        m_units = textBytes / qint64(sizeof(Unit));
        const qint64 tail = textBytes - m_units * qint64(sizeof(Unit));
        if (opened.isWhole()) {
            // Bytes may be read into char16_t units through a char pointer.
            m_whole.resize(m_units);
            std::memcpy(m_whole.data(), opened.start.constData() + prefixBytes,
                        m_units * sizeof(Unit));
            m_tail = opened.start.last(tail);
        } else if (tail > 0) {
            m_tail.resize(tail);
            if (!m_file.readAt(m_opened.size - tail, m_tail.data(), tail))
                m_tail.clear();
        }
    }

    qsizetype size() const { return m_units; }
    bool failed() const { return m_failed; }
    bool cancelled() const { return m_cancelled.load(std::memory_order_relaxed); }
    const QByteArray &prefix() const { return m_prefix; }
    // An odd last byte of a UTF-16 file, kept last.
    const QByteArray &tail() const { return m_tail; }
    // The file as it was opened; exists is false for a file that did not exist.
    const FileIdentity &identity() const { return m_opened; }

    // Appends up to count units of the text from from on to buffer; false when reading fails.
    bool read(qsizetype from, qsizetype count, String &buffer)
    {
        count = std::min(count, m_units - from);
        if (count <= 0)
            return true;
        if (m_units > kPiece)
            return readFile(from, count, buffer);
        const std::optional<View> units = held(from, count);
        if (units)
            buffer.append(*units);
        return bool(units);
    }

    // Up to count units of the text from from on, where they are held, for a file of a piece
    // at most; nothing for a larger file, or when reading fails.
    std::optional<View> held(qsizetype from, qsizetype count)
    {
        if (m_units > kPiece)
            return std::nullopt;
        // A file of a piece at most is read whole, once: each lookup and each run copied out
        // would otherwise read it again.
        if (qsizetype(m_whole.size()) < m_units && !readFile(0, m_units, m_whole))
            return std::nullopt;
        from = std::min(from, m_units);
        return View(m_whole).substr(from, std::max<qsizetype>(0, std::min(count, m_units - from)));
    }

    // Writes the units [from, to) to out in pieces, noting the last one; false on a failure.
    bool copy(qsizetype from, qsizetype to, QIODevice &out, std::optional<Unit> &last)
    {
        for (qsizetype at = from; at < to; at += qsizetype(m_piece.size())) {
            m_piece.clear();
            if (!read(at, std::min(kPiece, to - at), m_piece) || m_piece.empty())
                return false;
            last = m_piece.back();
            if (!writeAll(out, m_piece.data(), qint64(m_piece.size() * sizeof(Unit))))
                return false;
        }
        return true;
    }

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
    // Appends count units of the file's text from from on to buffer; false when reading fails.
    bool readFile(qsizetype from, qsizetype count, String &buffer)
    {
        const std::size_t old = buffer.size();
        buffer.resize(old + count);
        const qint64 bytes = count * qint64(sizeof(Unit));
        m_failed = m_failed || cancelled() ||
                   !m_file.readAt(m_prefix.size() + from * qint64(sizeof(Unit)),
                                  buffer.data() + old, bytes);
        if (m_failed)
            buffer.resize(old);
        return !m_failed;
    }

    FileDescriptor m_file;
    QByteArray m_prefix;
    const std::atomic<bool> &m_cancelled;
    FileIdentity m_opened;
    qsizetype m_units = 0;
    QByteArray m_tail;
    String m_piece;
    String m_whole; // the text of a file of a piece at most, once read
    bool m_failed = false;
};
