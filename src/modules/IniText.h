#pragma once

#include <QtGlobal>

#include <cstddef>
#include <cstring>
#include <optional>
#include <string>
#include <string_view>

// The profile text model on a file's units, without I/O: lines, section headers, key lines
// and values, and the case-insensitive comparison of names.
template <typename Traits> struct IniText
{
    using Unit = typename Traits::Unit;
    using View = std::basic_string_view<Unit>;
    using String = std::basic_string<Unit>;
    static constexpr qsizetype npos = -1;

    // One line: [start, contentEnd) is its text, [contentEnd, end) its line break (if any).
    struct Line
    {
        qsizetype start;
        qsizetype contentEnd;
        qsizetype end;
    };

    // What the platform's reader trims around names and values: blanks, the other white
    // space control codes, and Ctrl-Z, the end-of-file mark of DOS-era editors. Line breaks
    // never occur inside a line.
    static bool isBlank(Unit u)
    {
        return u == Unit(' ') || u == Unit('\t') || u == Unit('\v') || u == Unit('\f') ||
               u == Unit(0x1A);
    }
    static bool isBreak(Unit u) { return u == Unit('\r') || u == Unit('\n'); }

    // The number of units (1 or 2) of the character that starts at pos.
    static qsizetype charLength(View text, qsizetype pos)
    {
        const qsizetype next = pos + 1;
        const bool pair = Traits::isLead(text[pos]) && next < qsizetype(text.size()) &&
                          Traits::isTrail(text[next]);
        return pair ? 2 : 1;
    }

    static View trimmedFront(View v)
    {
        while (!v.empty() && isBlank(v.front()))
            v.remove_prefix(1);
        return v;
    }

    static View trimmed(View v)
    {
        v = trimmedFront(v);
        while (!v.empty() && isBlank(v.back()))
            v.remove_suffix(1);
        return v;
    }

    // The line that starts at start; CR, LF and CRLF each end a line.
    static Line lineAt(View text, qsizetype start)
    {
        const qsizetype size = text.size();
        const qsizetype contentEnd = breakAt(text, start);
        if (contentEnd == size)
            return {start, contentEnd, contentEnd};
        const bool crlf = text[contentEnd] == Unit('\r') && contentEnd + 1 < size &&
                          text[contentEnd + 1] == Unit('\n');
        return {start, contentEnd, contentEnd + (crlf ? 2 : 1)};
    }

    // Where the first line break at or after from is; the text's size when there is none.
    // Lines end in LF nearly always: the first LF is found at once, and only the text before
    // it is searched for a CR.
    static qsizetype breakAt(View text, qsizetype from)
    {
        const View rest = text.substr(from);
        const std::size_t lf = rest.find(Unit('\n'));
        const std::size_t cr = rest.substr(0, lf).find(Unit('\r'));
        const std::size_t found = cr != View::npos ? cr : lf;
        return found == View::npos ? qsizetype(text.size()) : from + qsizetype(found);
    }

    // The position of the first "[" at or after from that only blanks precede on its line, or
    // npos. This runs over whole files, so it steps from "[" to "[" on raw units.
    static qsizetype nextLineBracket(View text, qsizetype from)
    {
        const Unit *units = text.data();
        const Unit *end = units + text.size();
        for (const Unit *bracket = findBracket(units + from, end); bracket;
             bracket = findBracket(bracket + 1, end)) {
            const Unit *before = bracket;
            while (before > units && isBlank(before[-1]))
                --before;
            if (before == units || before[-1] == Unit('\n') || before[-1] == Unit('\r'))
                return bracket - units;
        }
        return npos;
    }

    // The trimmed name of a header whose "[" is at bracket, or nothing when no "]" closes it
    // on its line; a "]" that is the second unit of a character closes nothing.
    static std::optional<View> headerName(View text, qsizetype bracket)
    {
        for (qsizetype i = bracket + 1; i < qsizetype(text.size()) && !isBreak(text[i]);
             i += charLength(text, i)) {
            if (text[i] == Unit(']'))
                return trimmed(text.substr(bracket + 1, i - bracket - 1));
        }
        return std::nullopt;
    }

    // Whether a line's text (without its break) holds nothing but blanks.
    static bool isBlankLine(View content) { return trimmedFront(content).empty(); }

    // Whether a line's text is a section header: "[" after blanks, closed by "]".
    static bool isHeaderLine(View content)
    {
        const View text = trimmedFront(content);
        return !text.empty() && text.front() == Unit('[') && headerName(text, 0);
    }

    static const Unit *findBracket(const Unit *from, const Unit *end)
    {
        if constexpr (sizeof(Unit) == 1)
            return static_cast<const Unit *>(std::memchr(from, '[', end - from));
        else
            return std::char_traits<Unit>::find(from, end - from, Unit('['));
    }

    // A value as it reads: blanks around it dropped, then one pair of matching outer quotes.
    static View readValue(View raw)
    {
        View v = trimmed(raw);
        const bool quoted = v.size() >= 2 && v.front() == v.back() &&
                            (v.front() == Unit('"') || v.front() == Unit('\''));
        return quoted ? v.substr(1, v.size() - 2) : v;
    }

    static Unit folded(Unit u)
    {
        return (u >= Unit('A') && u <= Unit('Z')) ? Unit(u + ('a' - 'A')) : u;
    }

    // Compares names as the profile functions do: ASCII letters of single-unit characters
    // without regard to case, everything else exactly.
    struct FoldEqual
    {
        bool operator()(View a, View b) const
        {
            if (a.size() != b.size())
                return false;
            const qsizetype size = qsizetype(a.size());
            for (qsizetype i = 0; i < size; ++i) {
                if (a[i] != b[i] && folded(a[i]) != folded(b[i]))
                    return false;
                // The second unit of a two-unit character is never folded: equal lead units
                // and equal second units make the same character in both.
                if (Traits::isLead(a[i]) && i + 1 < size && Traits::isTrail(a[i + 1])) {
                    ++i;
                    if (a[i] != b[i])
                        return false;
                }
            }
            return true;
        }
    };
};
