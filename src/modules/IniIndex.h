#pragma once

#include "modules/IniText.h"
#include "modules/LineChunks.h"

#include <deque>
#include <type_traits>
#include <vector>

// Where the sections and keys of one file are, found as lookups need them and kept only for
// the names that are asked for: the names a document is told to expect, and each name once
// it has been looked up. So neither a file of millions of sections or keys nor one endless
// line takes more memory than a few pieces of it, whatever its size and shape.
//
// Sections are found by one resumable scan for "[", which notes the first section of each
// expected name; a section's keys are indexed on its first lookup, noting the first line of
// each expected key. A name asked for later is looked for in what was scanned already.
template <typename Traits> class IniIndex
{
public:
    using Text = IniText<Traits>;
    using Unit = typename Text::Unit;
    using View = typename Text::View;
    using String = typename Text::String;
    using Line = typename Text::Line;
    static constexpr qsizetype npos = Text::npos;
    // Names longer than this never match: lines are only read as far as names this long.
    static constexpr qsizetype kMaxNameUnits = 4096;
    // A value is read up to this many units: more than any read can give back.
    static constexpr qsizetype kMaxValueUnits = 32768;

    // A few names, numbered in the order they were added and compared in full: a lookup is
    // for one of a few dozen names, where hashing them would cost more than it saves.
    class NameList
    {
    public:
        // The number of name; nothing when it is not in the list.
        std::optional<std::size_t> find(View name) const
        {
            const quint64 wanted = signature(name);
            // A name of two single-unit characters at most is its signature.
            const bool whole = name.size() <= 2 && (name.empty() || !Traits::isLead(name.front()));
            for (std::size_t number = 0; number < m_signatures.size(); ++number) {
                if (m_signatures[number] == wanted &&
                    (whole || typename Text::FoldEqual()(m_names[number], name)))
                    return number;
            }
            return std::nullopt;
        }

        // The number name gets.
        std::size_t add(View name)
        {
            m_names.emplace_back(name);
            m_signatures.push_back(signature(name));
            return m_names.size() - 1;
        }

        std::size_t size() const { return m_names.size(); }
        void reserve(std::size_t count)
        {
            m_names.reserve(count);
            m_signatures.reserve(count);
        }

    private:
        // Most names differ in length or in their first or last unit: comparing those, packed
        // into one number, spares most full comparisons. Folding only merges units, so units
        // that differ folded differ in any case.
        static quint64 signature(View name)
        {
            using Bits = std::make_unsigned_t<Unit>;
            if (name.empty())
                return 0;
            return quint64(name.size()) << 32 | quint64(Bits(Text::folded(name.front()))) << 16 |
                   Bits(Text::folded(name.back()));
        }

        std::vector<String> m_names;
        std::vector<quint64> m_signatures;
    };

    // Where a key's line and its value are: the value as it reads (trimmed and unquoted) is
    // [valueStart, valueEnd), read from the file when it is asked for, so that no value is
    // held, whatever its length.
    struct KeyLine
    {
        qsizetype equals; // position of the first "=", npos when the line has none
        qsizetype contentEnd;
        qsizetype valueStart;
        qsizetype valueEnd;
        bool valueCut; // the end of a line longer than a piece is unknown: so is its value's
    };

    // What a section knows of one wanted key.
    struct KeyNote
    {
        bool known = false;          // false for a key wanted only since the section was indexed
        std::optional<KeyLine> line; // its first line in the section, if any
    };

    struct Section
    {
        explicit Section(qsizetype body) : bodyStart(body) {}

        qsizetype bodyStart;
        bool indexed = false;
        qsizetype bodyEnd = 0;     // where the next section's header line starts
        qsizetype insertAt = 0;    // just after the last non-blank line of the section
        std::vector<KeyNote> keys; // by the number of each wanted key
    };

    // sections and keys are the names lookups are expected for.
    IniIndex(ProfileStream<Unit> &stream, NameList sections, NameList keys)
        : m_stream(stream), m_watched(std::move(sections)), m_wantedKeys(std::move(keys))
    {}

    // The first section called name (compared trimmed), its keys indexed; nullptr when none.
    Section *section(View name)
    {
        const View trimmed = Text::trimmed(name);
        if (qsizetype(trimmed.size()) > kMaxNameUnits)
            return nullptr;
        Section *found = noted(trimmed);
        if (!found && !m_watched.find(trimmed)) {
            found = findHeader(trimmed);
            m_watched.add(trimmed);
        }
        if (!found)
            found = scanFor(trimmed);
        if (found && !found->indexed)
            indexKeys(*found);
        return found;
    }

    // The value of line as it reads, at most kMaxValueUnits of it: where the file is held, or
    // else read into buffer; nothing when the file could not be read.
    std::optional<View> value(const KeyLine &line, String &buffer)
    {
        const qsizetype count = std::min(line.valueEnd - line.valueStart, kMaxValueUnits);
        if (const std::optional<View> held = m_stream.held(line.valueStart, count))
            return held;
        buffer.clear();
        if (!m_stream.read(line.valueStart, count, buffer))
            return std::nullopt;
        return View(buffer);
    }

    // The first line of key in section (compared trimmed); nullptr when none.
    const KeyLine *key(Section &section, View key)
    {
        const View trimmed = Text::trimmed(key);
        if (qsizetype(trimmed.size()) > kMaxNameUnits)
            return nullptr;
        const std::optional<std::size_t> wanted = m_wantedKeys.find(trimmed);
        const std::size_t number = wanted ? *wanted : m_wantedKeys.add(trimmed);
        if (section.keys.size() <= number)
            section.keys.resize(m_wantedKeys.size());
        KeyNote &note = section.keys[number];
        if (!note.known)
            note = {true, findKey(section, trimmed)};
        return note.line ? &*note.line : nullptr;
    }

private:
    // The section noted under name; nullptr when none is.
    Section *noted(View name)
    {
        const std::optional<std::size_t> number = m_noted.find(name);
        return number ? &m_sections[*number] : nullptr;
    }

    Section *note(View name, qsizetype bodyStart)
    {
        m_noted.add(name);
        return &m_sections.emplace_back(bodyStart);
    }

    // A line of a piece that starts at start, in stream positions: a cut line ends where the
    // stream's line does.
    static Line inStream(const Line &local, qsizetype start, const LineChunks<Unit> &chunks,
                         qsizetype pieceSize)
    {
        const auto &cut = chunks.cutLineEnd();
        if (cut && local.end == pieceSize)
            return {start + local.start, cut->contentEnd, cut->end};
        return {start + local.start, start + local.contentEnd, start + local.end};
    }

    // Calls onHeader(name, bodyStart) for each header from the line start from on, a piece
    // at a time, until onHeader has returned false in a piece, a piece ends at to or beyond,
    // or the file ends; where the last piece looked at ends. Steps from "[" to "[" on raw
    // units, as this runs over whole files.
    template <typename F> qsizetype forEachHeader(qsizetype from, qsizetype to, F onHeader)
    {
        LineChunks<Unit> chunks(m_stream, from);
        View piece;
        qsizetype start = 0;
        qsizetype end = from;
        while (end < to && chunks.next(piece, start)) {
            bool goOn = true;
            for (qsizetype bracket = Text::nextLineBracket(piece, 0); bracket != npos;
                 bracket = Text::nextLineBracket(piece, bracket + 1)) {
                if (const auto header = Text::headerName(piece, bracket)) {
                    const Line line = inStream(Text::lineAt(piece, bracket), start, chunks,
                                               qsizetype(piece.size()));
                    goOn = onHeader(*header, line.end) && goOn;
                }
            }
            end = chunks.cutLineEnd() ? chunks.cutLineEnd()->end : start + qsizetype(piece.size());
            if (!goOn)
                break;
        }
        return end;
    }

    // Scans on from where the last scan stopped, noting the first section of each watched
    // name, until a piece of the file shows a section called name or the file ends.
    Section *scanFor(View name)
    {
        const typename Text::FoldEqual equal;
        Section *found = nullptr;
        m_scanned = forEachHeader(m_scanned, m_stream.size(), [&](View header, qsizetype body) {
            if (m_watched.find(header) && !noted(header)) {
                Section *added = note(header, body);
                if (equal(header, name))
                    found = added;
            }
            return !found;
        });
        return found;
    }

    // The first section called name in what the resumable scan has passed already.
    Section *findHeader(View name)
    {
        const typename Text::FoldEqual equal;
        Section *found = nullptr;
        forEachHeader(0, m_scanned, [&](View header, qsizetype bodyStart) {
            if (!found && equal(header, name))
                found = note(name, bodyStart);
            return !found;
        });
        return found;
    }

    // Calls onLine(line, text) for each line from the line start from on, in stream
    // positions, until it returns false or the file ends; text is cut for a very long line.
    template <typename F> void forEachLine(qsizetype from, F onLine)
    {
        LineChunks<Unit> chunks(m_stream, from);
        View piece;
        qsizetype start = 0;
        while (chunks.next(piece, start)) {
            for (qsizetype pos = 0; pos < qsizetype(piece.size());) {
                const Line local = Text::lineAt(piece, pos);
                pos = local.end;
                const Line line = inStream(local, start, chunks, qsizetype(piece.size()));
                if (!onLine(line, piece.substr(local.start, local.contentEnd - local.start)))
                    return;
            }
        }
    }

    // Notes the first line of each wanted key up to the next section header, where the
    // section ends and where new keys go.
    void indexKeys(Section &section)
    {
        section.indexed = true;
        section.insertAt = section.bodyStart;
        section.bodyEnd = m_stream.size();
        section.keys.assign(m_wantedKeys.size(), KeyNote{true, std::nullopt});
        forEachLine(section.bodyStart, [&](const Line &line, View content) {
            const View text = Text::trimmedFront(content);
            if (text.empty())
                return true;
            if (Text::isHeaderLine(text)) {
                section.bodyEnd = line.start;
                return false;
            }
            section.insertAt = line.end;
            const std::size_t equals = content.find(Unit('='));
            if (const auto number = m_wantedKeys.find(keyName(content, equals));
                number && !section.keys[*number].line)
                section.keys[*number].line = keyLine(content, equals, line);
            return true;
        });
    }

    // The first line of key in the indexed section.
    std::optional<KeyLine> findKey(const Section &section, View key)
    {
        const typename Text::FoldEqual equal;
        std::optional<KeyLine> found;
        forEachLine(section.bodyStart, [&](const Line &line, View content) {
            if (line.start >= section.bodyEnd)
                return false;
            const std::size_t equals = content.find(Unit('='));
            if (!Text::isBlankLine(content) && equal(keyName(content, equals), key))
                found = keyLine(content, equals, line);
            return !found;
        });
        return found;
    }

    // The key name of a line's text whose first "=" is at equals (npos: none).
    static View keyName(View content, std::size_t equals)
    {
        return Text::trimmed(content.substr(0, equals));
    }

    static KeyLine keyLine(View content, std::size_t equals, const Line &line)
    {
        if (equals == View::npos)
            return {npos, line.contentEnd, line.contentEnd, line.contentEnd, false};
        const View raw = content.substr(equals + 1);
        // The end of a cut line is unknown: its value reads from its first blank on.
        const bool lineCut = line.contentEnd != line.start + qsizetype(content.size());
        const View read = lineCut ? Text::trimmedFront(raw) : Text::readValue(raw);
        const qsizetype start = line.start + (read.data() - content.data());
        return {line.start + qsizetype(equals), line.contentEnd, start,
                start + qsizetype(read.size()), lineCut};
    }

    ProfileStream<Unit> &m_stream;
    qsizetype m_scanned = 0;        // how far the resumable scan has come
    NameList m_watched;             // the section names noted in all that was scanned
    NameList m_wantedKeys;          // the key names noted when a section is indexed
    NameList m_noted;               // the names of the sections noted, by their number
    std::deque<Section> m_sections; // where they stay: pending writes keep them
};
