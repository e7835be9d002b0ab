#pragma once

#include "modules/IniText.h"
#include "modules/LineChunks.h"

#include <unordered_map>

// Where the sections and keys of one file are, found as lookups need them. Sections are found
// by one resumable scan for "[" and only the first section of a name is kept; a section's keys
// are indexed on its first lookup, and only the first key of a name is kept, with a copy of
// its value, since the file is read in pieces.
template <typename Traits> class IniIndex
{
public:
    using Text = IniText<Traits>;
    using Unit = typename Text::Unit;
    using View = typename Text::View;
    using String = typename Text::String;
    static constexpr qsizetype npos = Text::npos;

    struct KeyLine
    {
        qsizetype equals; // position of the first "=", npos when the line has none
        qsizetype contentEnd;
        String value; // everything after the "=", as it stands
    };
    template <typename T>
    using NameMap =
        std::unordered_map<String, T, typename Text::FoldHash, typename Text::FoldEqual>;

    struct Section
    {
        explicit Section(qsizetype body) : bodyStart(body) {}

        qsizetype bodyStart;
        bool indexed = false;
        NameMap<KeyLine> keys;
        qsizetype insertAt = 0; // just after the last non-blank line of the section
    };

    explicit IniIndex(ProfileStream<Unit> &stream) : m_stream(stream) {}

    // The first section called name (compared trimmed), its keys indexed; nullptr when none.
    Section *section(View name)
    {
        const String trimmed(Text::trimmed(name));
        auto found = m_sections.find(trimmed);
        Section *section = found != m_sections.end() ? &found->second : scanFor(trimmed);
        if (section && !section->indexed)
            indexKeys(*section);
        return section;
    }

    // The first line of key in section (compared trimmed); nullptr when none.
    const KeyLine *key(const Section &section, View key) const
    {
        const auto found = section.keys.find(String(Text::trimmed(key)));
        return found != section.keys.end() ? &found->second : nullptr;
    }

private:
    // Scans on from where the last scan stopped, noting the first section of each name,
    // until a piece of the file shows a section called name or the file ends.
    Section *scanFor(const String &name)
    {
        const typename Text::FoldEqual equal;
        LineChunks<Unit> chunks(m_stream, m_scanned);
        View piece;
        qsizetype start = 0;
        Section *found = nullptr;
        while (!found && chunks.next(piece, start)) {
            for (qsizetype bracket = Text::nextLineBracket(piece, 0); bracket != npos;
                 bracket = Text::nextLineBracket(piece, bracket + 1)) {
                const auto header = Text::headerName(piece, bracket);
                if (!header)
                    continue;
                const qsizetype bodyStart = start + Text::lineAt(piece, bracket).end;
                const auto [entry, added] = m_sections.try_emplace(String(*header), bodyStart);
                if (added && !found && equal(*header, name))
                    found = &entry->second;
            }
            m_scanned = start + qsizetype(piece.size());
        }
        return found;
    }

    // Notes the first line of each key up to the next section header, and where new keys go.
    void indexKeys(Section &section)
    {
        section.indexed = true;
        section.insertAt = section.bodyStart;
        LineChunks<Unit> chunks(m_stream, section.bodyStart);
        View piece;
        qsizetype start = 0;
        while (chunks.next(piece, start)) {
            for (qsizetype pos = 0; pos < qsizetype(piece.size());) {
                const typename Text::Line line = Text::lineAt(piece, pos);
                pos = line.end;
                if (Text::isHeaderLine(piece, line))
                    return;
                if (Text::firstNonBlank(piece, line) == npos)
                    continue;
                section.insertAt = start + line.end;
                addKey(section, piece.substr(line.start, line.contentEnd - line.start),
                       start + line.start);
            }
        }
    }

    void addKey(Section &section, View content, qsizetype lineStart)
    {
        const qsizetype equals = qsizetype(content.find(Unit('=')));
        const bool hasValue = equals != npos;
        String name(Text::trimmed(hasValue ? content.substr(0, equals) : content));
        if (section.keys.contains(name))
            return;
        section.keys.emplace(std::move(name),
                             KeyLine{hasValue ? lineStart + equals : npos,
                                     lineStart + qsizetype(content.size()),
                                     hasValue ? String(content.substr(equals + 1)) : String()});
    }

    ProfileStream<Unit> &m_stream;
    qsizetype m_scanned = 0;
    NameMap<Section> m_sections;
};
