#pragma once

#include "modules/ProfileStream.h"

// Hands out a stream's text from a line start on in pieces of whole lines, about a megabyte
// each. A line longer than a piece comes alone and cut to a piece's length: cutLineEnd() then
// tells where it really ends, and the rest of it is skipped without being held, so that no
// file, however shaped, takes more memory than a piece or two.
template <typename Unit> class LineChunks
{
public:
    using View = std::basic_string_view<Unit>;
    static constexpr qsizetype kPiece = ProfileStream<Unit>::kPiece;

    // Where a cut line ends in the stream: its text, and after its line break.
    struct LineEnd
    {
        qsizetype contentEnd;
        qsizetype end;
    };

    LineChunks(ProfileStream<Unit> &stream, qsizetype from) : m_stream(stream), m_next(from) {}

    // The next piece and the position of its first unit; false at the end or when reading fails.
    bool next(View &piece, qsizetype &start)
    {
        start = m_next;
        m_cut.reset();
        // A file held whole is handed out as one piece, where it lies.
        if (const std::optional<View> rest = m_stream.held(start, m_stream.size())) {
            piece = *rest;
            m_next = start + qsizetype(piece.size());
            return !piece.empty();
        }
        m_buffer.clear();
        if (!m_stream.read(start, kPiece, m_buffer))
            return false;
        qsizetype end = wholeLinesEnd(start);
        if (end == 0) {
            m_cut = skipToLineEnd(start + size());
            if (!m_cut)
                return false;
            end = size();
        }
        m_buffer.resize(end);
        piece = View(m_buffer);
        m_next = m_cut ? m_cut->end : start + end;
        return !piece.empty();
    }

    // For a piece that is the start of a longer line, where that line really ends.
    const std::optional<LineEnd> &cutLineEnd() const { return m_cut; }

private:
    qsizetype size() const { return qsizetype(m_buffer.size()); }

    static bool isBreak(Unit u) { return u == Unit('\n') || u == Unit('\r'); }

    // Where the last whole line in the buffer ends; 0 when the buffer holds no line end and
    // the line goes on beyond it. The rest is read again as the start of the next piece.
    qsizetype wholeLinesEnd(qsizetype start)
    {
        if (start + size() >= m_stream.size())
            return size();
        qsizetype end = size();
        while (end > 0 && !isBreak(m_buffer[end - 1]))
            --end;
        // A CR last in the buffer may have its LF still unread.
        if (end == size() && m_buffer[end - 1] == Unit('\r') &&
            m_stream.read(start + end, 1, m_buffer))
            return m_buffer.back() == Unit('\n') ? end + 1 : end;
        return end;
    }

    // Reads on from from, a piece at a time, to the end of the line it is in.
    std::optional<LineEnd> skipToLineEnd(qsizetype from)
    {
        for (qsizetype at = from; at < m_stream.size(); at += kPiece) {
            m_skipped.clear();
            if (!m_stream.read(at, kPiece, m_skipped))
                return std::nullopt;
            const auto found = std::find_if(m_skipped.begin(), m_skipped.end(), isBreak);
            if (found == m_skipped.end())
                continue;
            const qsizetype contentEnd = at + (found - m_skipped.begin());
            return LineEnd{contentEnd, afterBreak(contentEnd)};
        }
        return LineEnd{m_stream.size(), m_stream.size()};
    }

    // The position after the line break at pos: CR LF counts as one.
    qsizetype afterBreak(qsizetype pos)
    {
        m_skipped.clear();
        if (!m_stream.read(pos, 2, m_skipped) || m_skipped.size() < 2)
            return pos + 1;
        return m_skipped[0] == Unit('\r') && m_skipped[1] == Unit('\n') ? pos + 2 : pos + 1;
    }

    ProfileStream<Unit> &m_stream;
    qsizetype m_next;
    std::basic_string<Unit> m_buffer;
    std::basic_string<Unit> m_skipped;
    std::optional<LineEnd> m_cut;
};
