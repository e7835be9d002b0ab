#pragma once

#include "modules/IniText.h"

#include <unordered_map>

// Where the sections and keys of one text are, found as lookups need them. Sections are
// found by one resumable scan for "[" and only the first section of a name is kept; a
// section's keys are indexed on its first lookup and only the first key of a name is kept.
// Names are views into the text, which must outlive the index and stay unchanged.
template <typename Traits> class IniIndex
{
public:
    using Text = IniText<Traits>;
    using View = typename Text::View;
    static constexpr qsizetype npos = Text::npos;

    struct KeyLine
    {
        qsizetype equals; // position of the first "=", npos when the line has none
        qsizetype contentEnd;
    };
    using KeyMap =
        std::unordered_map<View, KeyLine, typename Text::FoldHash, typename Text::FoldEqual>;

    struct Section
    {
        explicit Section(qsizetype body) : bodyStart(body) {}

        qsizetype bodyStart;
        bool indexed = false;
        KeyMap keys;
        qsizetype insertAt = 0; // just after the last non-blank line of the section
    };

    explicit IniIndex(View text) : m_text(text) {}

    // The first section called name (compared trimmed), its keys indexed; nullptr when none.
    Section *section(View name)
    {
        name = Text::trimmed(name);
        auto found = m_sections.find(name);
        Section *section = found != m_sections.end() ? &found->second : scanFor(name);
        if (section && !section->indexed)
            indexKeys(*section);
        return section;
    }

    // The first line of key in section (compared trimmed); nullptr when none.
    const KeyLine *key(const Section &section, View key) const
    {
        const auto found = section.keys.find(Text::trimmed(key));
        return found != section.keys.end() ? &found->second : nullptr;
    }

private:
    // Scans on from where the last scan stopped, noting the first section of each name,
    // until a section called name turns up or the text ends.
    Section *scanFor(View name)
    {
        const typename Text::FoldEqual equal;
        while (m_scanned < qsizetype(m_text.size())) {
            const qsizetype bracket = qsizetype(m_text.find(typename Text::Unit('['), m_scanned));
            if (bracket == npos) {
                m_scanned = m_text.size();
                break;
            }
            m_scanned = bracket + 1;
            const auto header = Text::startsLine(m_text, bracket)
                                    ? Text::headerName(m_text, bracket)
                                    : std::nullopt;
            if (!header)
                continue;
            const qsizetype bodyStart = Text::lineAt(m_text, bracket).end;
            const auto [entry, added] = m_sections.try_emplace(*header, Section(bodyStart));
            if (added && equal(*header, name))
                return &entry->second;
        }
        return nullptr;
    }

    // Notes the first line of each key up to the next section header, and where new keys go.
    void indexKeys(Section &section)
    {
        section.indexed = true;
        section.insertAt = section.bodyStart;
        for (qsizetype pos = section.bodyStart; pos < qsizetype(m_text.size());) {
            const typename Text::Line line = Text::lineAt(m_text, pos);
            pos = line.end;
            if (Text::isHeaderLine(m_text, line))
                break;
            const qsizetype first = Text::firstNonBlank(m_text, line);
            if (first == npos)
                continue;
            section.insertAt = line.end;
            const View content = m_text.substr(line.start, line.contentEnd - line.start);
            const qsizetype equals = qsizetype(content.find(typename Text::Unit('=')));
            const View key = Text::trimmed(equals == npos ? content : content.substr(0, equals));
            section.keys.try_emplace(
                key, KeyLine{equals == npos ? npos : line.start + equals, line.contentEnd});
        }
    }

    View m_text;
    qsizetype m_scanned = 0;
    std::unordered_map<View, Section, typename Text::FoldHash, typename Text::FoldEqual> m_sections;
};
