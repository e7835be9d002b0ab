#pragma once

#include "modules/IniIndex.h"
#include "modules/ProfileDocument.h"

#include <QBuffer>

#include <algorithm>
#include <vector>

// A profile document over one encoding's units. The file's units are never changed: pending
// writes are kept as splices and applied while the file is copied out, so everything else in
// the file comes out unit for unit as it went in.
template <typename Traits> class TextDocument final : public ProfileDocument
{
    using Text = IniText<Traits>;
    using Unit = typename Text::Unit;
    using View = typename Text::View;
    using String = typename Text::String;
    using Index = IniIndex<Traits>;
    using Stream = ProfileStream<Unit>;

public:
    // The text of opened starts after its byte order mark, prefixBytes long.
    TextDocument(OpenedFile opened, qsizetype prefixBytes, const std::atomic<bool> &cancelled,
                 const ExpectedNames &expected)
        : m_stream(std::move(opened), prefixBytes, cancelled),
          m_index(m_stream, encoded(expected.sections), encoded(expected.keys))
    {}

    std::optional<QString> value(const QString &section, const QString &key,
                                 qsizetype maxBytes) override
    {
        const SectionLookup &looked = lookUp(section);
        const String keyName = Traits::encode(key);
        if (const std::optional<View> pending = pendingValue(looked.name, keyName))
            return Traits::read(Text::readValue(*pending), maxBytes);
        const auto *line = looked.found ? m_index.key(*looked.found, keyName) : nullptr;
        const std::optional<View> value = line ? m_index.value(*line, m_value) : std::nullopt;
        return value ? std::optional(Traits::read(*value, maxBytes)) : std::nullopt;
    }

    void write(const QString &section, const QString &key, const QString &value) override
    {
        const String keyName = Traits::encode(key);
        const String newValue = Traits::encode(value);
        Pending &pending = pendingFor(Traits::encode(section));
        if (Added *added = findKey(pending.added, keyName)) {
            added->value = newValue;
            return;
        }
        const auto *line = pending.original ? m_index.key(*pending.original, keyName) : nullptr;
        if (!line) {
            pending.added.push_back({keyName, newValue});
            return;
        }
        std::erase_if(pending.replaced,
                      [&](const Replaced &r) { return sameName(r.key, keyName); });
        const View wanted = Text::readValue(newValue);
        const bool same = !line->valueCut &&
                          line->valueEnd - line->valueStart == qsizetype(wanted.size()) &&
                          m_index.value(*line, m_value) == wanted;
        if (!same)
            pending.replaced.push_back(replacement(keyName, *line, newValue));
    }

    bool isDirty() const override
    {
        return std::any_of(m_pending.begin(), m_pending.end(), [](const Pending &p) {
            return !p.replaced.empty() || !p.added.empty();
        });
    }

    FileProblem readProblem() const override
    {
        if (!m_stream.failed())
            return FileProblem::None;
        return m_stream.cancelled() ? FileProblem::Cancelled : FileProblem::ReadFailed;
    }

    const FileIdentity &identity() const override { return m_stream.identity(); }

    bool render(QIODevice &out) override
    {
        if (m_stream.size() > Stream::kPiece)
            return renderTo(out);
        // The output is unbuffered, so that a failed write shows where it failed: a small file
        // is put together in memory first, and written at once rather than in a write per run.
        QBuffer whole;
        whole.open(QIODevice::WriteOnly);
        return renderTo(whole) &&
               Stream::writeAll(out, whole.data().constData(), whole.data().size());
    }

private:
    bool renderTo(QIODevice &out)
    {
        std::vector<Splice> splices = collectSplices();
        std::stable_sort(splices.begin(), splices.end(), [](const Splice &a, const Splice &b) {
            return a.from != b.from ? a.from < b.from : a.kind < b.kind;
        });
        std::optional<Unit> last;
        auto put = [&](View units) {
            if (!units.empty())
                last = units.back();
            return Stream::writeAll(out, units.data(), units.size() * sizeof(Unit));
        };
        bool ok = Stream::writeAll(out, m_stream.prefix().constData(), m_stream.prefix().size());
        qsizetype pos = 0;
        for (const Splice &splice : splices) {
            ok = ok && m_stream.copy(pos, splice.from, out, last);
            // New lines start a line of their own, even after a last line without a break.
            if (splice.kind != Splice::Replace && last && !Text::isBreak(*last))
                ok = ok && put(View(lineBreak()));
            ok = ok && put(View(splice.units));
            pos = splice.to;
        }
        ok = ok && m_stream.copy(pos, m_stream.size(), out, last);
        return ok && Stream::writeAll(out, m_stream.tail().constData(), m_stream.tail().size());
    }

    struct Replaced
    {
        String key;
        qsizetype from;
        qsizetype to;
        String value;
        bool addsEquals;
    };
    struct Added
    {
        String key;
        String value;
    };
    // The writes to one section; original is null for a section the file does not have yet.
    struct Pending
    {
        String section;
        typename Index::Section *original;
        std::vector<Replaced> replaced;
        std::vector<Added> added;
    };
    struct Splice
    {
        enum Kind { Replace, InsertKeys, AppendSection };
        qsizetype from;
        qsizetype to;
        Kind kind;
        String units;
    };

    static String ascii(std::string_view text) { return String(text.begin(), text.end()); }
    static const String &lineBreak()
    {
        static const String crlf = ascii("\r\n");
        return crlf;
    }

    static bool sameName(View a, View b)
    {
        return typename Text::FoldEqual()(Text::trimmed(a), Text::trimmed(b));
    }

    template <typename Entry> static Entry *findKey(std::vector<Entry> &entries, View key)
    {
        const auto found = std::find_if(entries.begin(), entries.end(),
                                        [&](const Entry &e) { return sameName(e.key, key); });
        return found != entries.end() ? &*found : nullptr;
    }

    static typename Index::NameList encoded(const QStringList &names)
    {
        typename Index::NameList list;
        list.reserve(std::size_t(names.size()));
        for (const QString &name : names)
            list.add(Text::trimmed(View(Traits::encode(name))));
        return list;
    }

    // A section as asked for, and where the file has it: reads come one key at a time, most
    // of them for the section asked for just before. The file never changes under the index,
    // so what it found stays found.
    struct SectionLookup
    {
        QString asked;
        String name;
        typename Index::Section *found;
    };

    const SectionLookup &lookUp(const QString &section)
    {
        if (!m_lastLookup || !isSame(m_lastLookup->asked, section)) {
            String name = Traits::encode(section);
            typename Index::Section *found = m_index.section(name);
            m_lastLookup = SectionLookup{section, std::move(name), found};
        }
        return *m_lastLookup;
    }

    // Whether two names read the same; at once when they share their characters, as the names
    // of one caller's reads mostly do.
    static bool isSame(const QString &a, const QString &b)
    {
        return (a.constData() == b.constData() && a.size() == b.size()) || a == b;
    }

    Pending *findPending(View section)
    {
        const auto found = std::find_if(m_pending.begin(), m_pending.end(), [&](const Pending &p) {
            return sameName(p.section, section);
        });
        return found != m_pending.end() ? &*found : nullptr;
    }

    std::optional<View> pendingValue(View section, View key)
    {
        Pending *pending = findPending(section);
        if (const Replaced *replaced = pending ? findKey(pending->replaced, key) : nullptr)
            return View(replaced->value);
        if (const Added *added = pending ? findKey(pending->added, key) : nullptr)
            return View(added->value);
        return std::nullopt;
    }

    Pending &pendingFor(const String &section)
    {
        if (Pending *pending = findPending(section))
            return *pending;
        return m_pending.emplace_back(Pending{section, m_index.section(section), {}, {}});
    }

    // The splice that gives line the value: everything after its "=" is replaced, and a line
    // without "=" gets one.
    static Replaced replacement(const String &key, const typename Index::KeyLine &line,
                                const String &value)
    {
        if (line.equals == Index::npos)
            return {key, line.contentEnd, line.contentEnd, value, true};
        return {key, line.equals + 1, line.contentEnd, value, false};
    }

    std::vector<Splice> collectSplices() const
    {
        std::vector<Splice> splices;
        for (const Pending &pending : m_pending) {
            for (const Replaced &replaced : pending.replaced)
                splices.push_back({replaced.from, replaced.to, Splice::Replace,
                                   (replaced.addsEquals ? ascii("=") : String()) + replaced.value});
            if (pending.added.empty())
                continue;
            String units = pending.original
                               ? String()
                               : ascii("[") + pending.section + ascii("]") + lineBreak();
            for (const Added &added : pending.added)
                units += added.key + ascii("=") + added.value + lineBreak();
            const qsizetype at = pending.original ? pending.original->insertAt : m_stream.size();
            splices.push_back(
                {at, at, pending.original ? Splice::InsertKeys : Splice::AppendSection, units});
        }
        return splices;
    }

    Stream m_stream;
    Index m_index;
    std::vector<Pending> m_pending;
    String m_value; // a value read from the file, kept for the next one's buffer
    std::optional<SectionLookup> m_lastLookup;
};
