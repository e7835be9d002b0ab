#pragma once

#include "modules/ProfileStream.h"

// Hands out a stream's text from a line start on in pieces of whole lines, about a
// megabyte each; a longer line comes whole, and a CR LF pair is never split.
template <typename Unit> class LineChunks
{
public:
    using View = std::basic_string_view<Unit>;

    LineChunks(ProfileStream<Unit> &stream, qsizetype from) : m_stream(stream), m_next(from) {}

    // The next piece and the position of its first unit; false at the end or when reading fails.
    bool next(View &piece, qsizetype &start)
    {
        start = m_next;
        m_buffer.clear();
        for (qsizetype want = ProfileStream<Unit>::kPiece; start + size() < m_stream.size();
             want = size()) {
            if (!m_stream.read(start + size(), want, m_buffer))
                return false;
            if (const qsizetype end = wholeLinesEnd(); end > 0) {
                m_buffer.resize(end);
                break;
            }
        }
        piece = View(m_buffer);
        m_next = start + size();
        return !piece.empty();
    }

private:
    qsizetype size() const { return qsizetype(m_buffer.size()); }

    // Where the last whole line in the buffer ends; 0 when the buffer holds no line end yet.
    // The rest is read again as the start of the next piece.
    qsizetype wholeLinesEnd()
    {
        if (m_next + size() >= m_stream.size())
            return size();
        qsizetype end = size();
        while (end > 0 && m_buffer[end - 1] != Unit('\n') && m_buffer[end - 1] != Unit('\r'))
            --end;
        // A CR last in the buffer may have its LF still unread.
        if (end == size() && m_buffer[end - 1] == Unit('\r') &&
            m_stream.read(m_next + end, 1, m_buffer))
            return m_buffer.back() == Unit('\n') ? end + 1 : end;
        return end;
    }

    ProfileStream<Unit> &m_stream;
    qsizetype m_next;
    std::basic_string<Unit> m_buffer;
};
