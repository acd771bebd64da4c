// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ini/layoutwrite.h"

#include "disk/filereplacer.h"
#include "document/documenttree.h"
#include "document/iniline.h"
#include "document/textrules.h"

#include <QHash>

#include <algorithm>

namespace {

// The longest run of rising numbers in the list: the nodes that keep their place while the others
// move around them. True at each place that belongs to it; -1 entries (no place) never do.
std::vector<bool> longestRisingRun(const std::vector<qsizetype> &places)
{
    std::vector<qsizetype> tails; // index into places of the smallest tail of each run length
    std::vector<qsizetype> before(places.size(), -1);
    for (qsizetype i = 0; i < qsizetype(places.size()); ++i) {
        if (places[size_t(i)] < 0)
            continue;
        const auto at = std::lower_bound(tails.begin(), tails.end(), places[size_t(i)],
            [&places](qsizetype tail, qsizetype place) { return places[size_t(tail)] < place; });
        if (at != tails.begin())
            before[size_t(i)] = *(at - 1);
        if (at == tails.end())
            tails.push_back(i);
        else
            *at = i;
    }
    std::vector<bool> kept(places.size(), false);
    for (qsizetype i = tails.empty() ? -1 : tails.back(); i >= 0; i = before[size_t(i)])
        kept[size_t(i)] = true;
    return kept;
}

} // namespace

class LayoutWriter {
public:
    LayoutWriter(const IniText &text, const DocumentTree &tree)
        : m_text(text)
        , m_tree(tree)
        , m_size(text.unitCount())
        , m_eol(IniText::lineEnd(text.format()))
    {
    }

    std::vector<IniText::Splice> splices();

private:
    using Splice = IniText::Splice;
    struct Edit {
        Splice splice;
        qsizetype order;
    };
    // What a tree section holds of the file: the section it was read from and, per option, the line.
    struct SectionPlan {
        int model = -1;
        bool keptPlace = false;
        std::vector<qsizetype> lines; // per option, or -1
        std::vector<bool> kept; // per option: keeps its line where it stands
    };

    // Lines, as places in the text.
    [[nodiscard]] char16_t unit(qint64 at) const { return m_text.unitAt(at); }
    [[nodiscard]] qint64 lineEndFrom(qint64 at) const
    {
        while (at < m_size && !isLineBreak(unit(at)))
            ++at;
        return at;
    }
    [[nodiscard]] IniLine lineAt(qint64 begin, qint64 end) const
    {
        if (!m_text.m_wide.isEmpty())
            return classifyIniLine(reinterpret_cast<const char16_t *>(m_text.m_wide.constData()) + begin, end - begin);
        return classifyIniLine(m_text.m_bytes.constData() + m_text.m_begin + begin, end - begin);
    }
    [[nodiscard]] bool blankLine(qint64 begin, qint64 end) const
    {
        for (qint64 i = begin; i < end; ++i) {
            if (!isBlank(unit(i)))
                return false;
        }
        return true;
    }
    [[nodiscard]] qint64 previousLineStart(qint64 lineStart) const;
    [[nodiscard]] qint64 attachedStart(qint64 lineStart) const;
    [[nodiscard]] qint64 ownEnd(qint64 lineStart) const;
    [[nodiscard]] bool endsWithBreak(qint64 at) const { return at == 0 || isLineBreak(unit(at - 1)); }

    // The file's sections and options.
    [[nodiscard]] int occurrenceOfOption(qsizetype option) const;
    [[nodiscard]] qint64 optionLine(qsizetype option) const { return m_text.m_options[size_t(option)].line; }
    [[nodiscard]] QString optionName(qsizetype option) const { return m_text.optionName(option); }
    [[nodiscard]] QString optionValue(qsizetype option) const { return m_text.optionValue(option); }
    template <typename F> void forEachOccurrence(int section, F &&visit) const
    {
        for (int o = m_text.m_sections[size_t(section)].firstOccurrence; o >= 0;
             o = m_text.m_occurrences[size_t(o)].next)
            visit(o);
    }
    [[nodiscard]] qint64 occurrenceStart(int occurrence) const
    {
        return attachedStart(m_text.m_occurrences[size_t(occurrence)].header);
    }
    [[nodiscard]] qint64 occurrenceEnd(int occurrence) const;

    // Texts.
    [[nodiscard]] QString render(qint64 begin, qint64 end, const std::vector<Edit> &edits) const;
    [[nodiscard]] QString withLineEnd(QString text) const
    {
        if (!text.isEmpty() && !isLineBreak(text.back()))
            text += m_eol;
        return text;
    }
    [[nodiscard]] QString separator();
    [[nodiscard]] QString indentOf(qsizetype option) const;
    [[nodiscard]] QString newLine(const QString &indent, const QString &name, const QString &value);
    // The option's own lines with its node's texts, to stand somewhere else.
    [[nodiscard]] QString movedOption(qsizetype line, const QString &name, const QString &value) const;
    void textEdits(qsizetype option, const QString &name, const QString &value, std::vector<Edit> &out) const;

    void claim();
    void planSection(int t, std::vector<Edit> &out);
    [[nodiscard]] QString sectionText(int t);
    void add(std::vector<Edit> &out, qint64 begin, qint64 end, QString text) const
    {
        out.push_back({ { begin, end, std::move(text) }, m_order++ });
    }

    const IniText &m_text;
    const DocumentTree &m_tree;
    const qint64 m_size;
    const QString m_eol;
    QString m_separator;
    std::vector<SectionPlan> m_plans; // per tree section
    std::vector<int> m_sectionOfOccurrence;
    std::vector<qint32> m_claimSection; // per file option: the tree section whose node holds it, or -1
    std::vector<qint32> m_claimRow;
    std::vector<bool> m_sectionClaimed;
    mutable qsizetype m_order = 0;
};

qint64 LayoutWriter::previousLineStart(qint64 lineStart) const
{
    qint64 end = lineStart - 1; // the line end before lineStart
    if (unit(end) == u'\n' && end > 0 && unit(end - 1) == u'\r')
        --end;
    qint64 begin = end;
    while (begin > 0 && !isLineBreak(unit(begin - 1)))
        --begin;
    return begin;
}

qint64 LayoutWriter::attachedStart(qint64 lineStart) const
{
    qint64 at = lineStart;
    while (at > 0) {
        const qint64 begin = previousLineStart(at);
        const qint64 end = lineEndFrom(begin);
        if (lineAt(begin, end).kind != IniLine::Kind::Comment || blankLine(begin, end))
            break;
        at = begin;
    }
    return at;
}

qint64 LayoutWriter::ownEnd(qint64 lineStart) const
{
    qint64 at = m_text.afterLineEnd(lineEndFrom(lineStart));
    while (at < m_size) {
        const qint64 end = lineEndFrom(at);
        if (lineAt(at, end).kind != IniLine::Kind::Other)
            break;
        at = m_text.afterLineEnd(end);
    }
    return at;
}

qint64 LayoutWriter::occurrenceEnd(int occurrence) const
{
    const IniText::Occurrence &o = m_text.m_occurrences[size_t(occurrence)];
    if (o.endOption > o.firstOption)
        return ownEnd(optionLine(o.endOption - 1));
    return ownEnd(o.header);
}

int LayoutWriter::occurrenceOfOption(qsizetype option) const
{
    const auto &occurrences = m_text.m_occurrences;
    const auto after = std::upper_bound(occurrences.begin(), occurrences.end(), option,
        [](qsizetype o, const IniText::Occurrence &occurrence) { return o < occurrence.firstOption; });
    return int(after - occurrences.begin()) - 1;
}

QString LayoutWriter::render(qint64 begin, qint64 end, const std::vector<Edit> &edits) const
{
    QString out;
    qint64 at = begin;
    for (const Edit &edit : edits) {
        const Splice &s = edit.splice;
        if (s.begin < begin || s.begin > end || (s.end > end))
            continue;
        if (s.begin > at)
            out += m_text.slice(at, s.begin);
        out += s.text;
        at = std::max(at, s.end);
    }
    if (end > at)
        out += m_text.slice(at, end);
    return out;
}

QString LayoutWriter::separator()
{
    if (!m_separator.isNull())
        return m_separator;
    // The spacing most options have, counted on the first many of them.
    int counts[4] = {};
    const qsizetype sample = std::min<qsizetype>(qsizetype(m_text.m_options.size()), 100000);
    for (qsizetype o = 0; o < sample; ++o) {
        const IniText::Option &option = m_text.m_options[size_t(o)];
        const qint64 equals = option.line + option.equals;
        const bool before = option.equals > 0 && isBlank(unit(equals - 1));
        const bool after = equals + 1 < option.line + qint64(option.length) && isBlank(unit(equals + 1));
        ++counts[(before ? 2 : 0) + (after ? 1 : 0)];
    }
    const int most = int(std::max_element(std::begin(counts), std::end(counts)) - std::begin(counts));
    m_separator = QLatin1StringView((most & 2) ? " =" : "=") + QLatin1StringView((most & 1) ? " " : "");
    return m_separator;
}

QString LayoutWriter::indentOf(qsizetype option) const
{
    if (option < 0)
        return QString();
    const qint64 line = optionLine(option);
    qint64 at = line;
    while (isBlank(unit(at)))
        ++at;
    return m_text.slice(line, at);
}

QString LayoutWriter::newLine(const QString &indent, const QString &name, const QString &value)
{
    const QString sep = separator();
    if (value.isEmpty())
        return indent + name + sep.trimmed() + m_eol;
    return indent + name + sep + value + m_eol;
}

void LayoutWriter::textEdits(qsizetype option, const QString &name, const QString &value, std::vector<Edit> &out) const
{
    const qint64 line = optionLine(option);
    const IniText::Option &o = m_text.m_options[size_t(option)];
    const IniLine parts = lineAt(line, line + o.length);
    if (name != optionName(option))
        add(out, line + parts.nameBegin, line + parts.nameEnd, name);
    if (value != optionValue(option))
        add(out, line + parts.valueBegin, line + parts.valueEnd, value);
}

QString LayoutWriter::movedOption(qsizetype option, const QString &name, const QString &value) const
{
    const qint64 line = optionLine(option);
    std::vector<Edit> edits;
    textEdits(option, name, value, edits);
    QString text = withLineEnd(render(attachedStart(line), ownEnd(line), edits));
    // The lines that repeat its name go along, after it, and take its new name.
    const QString oldName = optionName(option);
    forEachOccurrence(m_sectionOfOccurrence[size_t(occurrenceOfOption(option))], [&](int o) {
        const IniText::Occurrence &occurrence = m_text.m_occurrences[size_t(o)];
        for (qsizetype repeat = std::max(occurrence.firstOption, option + 1); repeat < occurrence.endOption; ++repeat) {
            if (optionName(repeat) != oldName)
                continue;
            std::vector<Edit> renamed;
            textEdits(repeat, name, optionValue(repeat), renamed);
            text += withLineEnd(render(attachedStart(optionLine(repeat)), ownEnd(optionLine(repeat)), renamed));
        }
    });
    return text;
}

void LayoutWriter::claim()
{
    const qsizetype optionCount = qsizetype(m_text.m_options.size());
    m_claimSection.assign(size_t(optionCount), -1);
    m_claimRow.assign(size_t(optionCount), -1);
    m_sectionClaimed.assign(m_text.m_sections.size(), false);
    m_sectionOfOccurrence.assign(m_text.m_occurrences.size(), -1);
    for (int s = 0; s < int(m_text.m_sections.size()); ++s)
        forEachOccurrence(s, [this, s](int o) { m_sectionOfOccurrence[size_t(o)] = s; });

    m_plans.resize(size_t(m_tree.sectionCount()));
    for (int t = 0; t < m_tree.sectionCount(); ++t) {
        SectionPlan &plan = m_plans[size_t(t)];
        const int occurrence = m_text.occurrenceAtOrigin(m_tree.sectionOrigin(t));
        if (occurrence >= 0 && !m_sectionClaimed[size_t(m_sectionOfOccurrence[size_t(occurrence)])]) {
            plan.model = m_sectionOfOccurrence[size_t(occurrence)];
            m_sectionClaimed[size_t(plan.model)] = true;
        }
        const OptionTexts &texts = m_tree.optionTexts(t);
        plan.lines.assign(size_t(texts.size()), -1);
        qsizetype hint = -1;
        for (qsizetype o = 0; o < texts.size(); ++o) {
            const qsizetype line = m_text.optionAtOrigin(texts.origin(o), hint + 1);
            hint = line;
            if (line < 0 || m_claimSection[size_t(line)] >= 0)
                continue;
            m_claimSection[size_t(line)] = t;
            m_claimRow[size_t(line)] = qint32(o);
            plan.lines[size_t(o)] = line;
        }
    }
}

// The splices of one section that keeps its file section, in text order of their making.
void LayoutWriter::planSection(int t, std::vector<Edit> &out)
{
    SectionPlan &plan = m_plans[size_t(t)];
    const OptionTexts &texts = m_tree.optionTexts(t);
    const int model = plan.model;
    // Options that stand in this section's lines keep their place while their order holds.
    std::vector<qsizetype> places(plan.lines.size(), -1);
    for (size_t o = 0; o < plan.lines.size(); ++o) {
        const qsizetype line = plan.lines[o];
        if (line >= 0 && m_sectionOfOccurrence[size_t(occurrenceOfOption(line))] == model)
            places[o] = line;
    }
    plan.kept = longestRisingRun(places);

    const QString name = storedName(m_tree.sectionText(t, DocumentTree::NameColumn));
    if (name != m_text.sectionName(model)) {
        forEachOccurrence(model, [&](int o) {
            const IniText::Occurrence &occurrence = m_text.m_occurrences[size_t(o)];
            const IniLine header = lineAt(occurrence.header, occurrence.header + occurrence.headerLength);
            add(out, occurrence.header + header.nameBegin, occurrence.header + header.nameEnd, name);
        });
    }
    const auto keptHere = [&](qsizetype line) {
        return m_claimSection[size_t(line)] == t && plan.kept[size_t(m_claimRow[size_t(line)])];
    };
    const auto nodeName = [&](qsizetype row) {
        return texts.borrowed() ? texts.text(row, 0) : storedName(texts.text(row, DocumentTree::NameColumn));
    };
    const auto nodeValue = [&](qsizetype row) {
        return texts.borrowed() ? texts.text(row, 1) : storedValue(texts.text(row, DocumentTree::ValueColumn));
    };

    // The file's lines of this section: each stays, changes its texts or goes.
    bool allKept = true;
    forEachOccurrence(model, [&](int o) {
        const IniText::Occurrence &occurrence = m_text.m_occurrences[size_t(o)];
        for (qsizetype line = occurrence.firstOption; line < occurrence.endOption && allKept; ++line)
            allKept = keptHere(line);
    });
    QHash<QString, qsizetype> firstOfName;
    if (!allKept) {
        forEachOccurrence(model, [&](int o) {
            const IniText::Occurrence &occurrence = m_text.m_occurrences[size_t(o)];
            for (qsizetype line = occurrence.firstOption; line < occurrence.endOption; ++line) {
                const QString lineName = optionName(line);
                if (!firstOfName.contains(lineName))
                    firstOfName.insert(lineName, line);
            }
        });
    }
    forEachOccurrence(model, [&](int o) {
        const IniText::Occurrence &occurrence = m_text.m_occurrences[size_t(o)];
        for (qsizetype line = occurrence.firstOption; line < occurrence.endOption; ++line) {
            if (keptHere(line)) {
                if (!texts.borrowed()) {
                    const qsizetype row = m_claimRow[size_t(line)];
                    textEdits(line, nodeName(row), nodeValue(row), out);
                }
                continue;
            }
            // A line that repeats a name stays with the option that the tree shows: renamed with it,
            // gone with it, and carried along where it moved (movedOption).
            const qsizetype shown = firstOfName.value(optionName(line), line);
            if (shown != line && keptHere(shown)) {
                const QString renamed = nodeName(m_claimRow[size_t(shown)]);
                textEdits(line, renamed, optionValue(line), out);
                continue;
            }
            add(out, attachedStart(optionLine(line)), ownEnd(optionLine(line)), QString());
        }
    });

    // Options that do not keep a line here go after the option before them.
    qsizetype lastLine = -1;
    int lastOccurrence = m_text.m_sections[size_t(model)].lastOccurrence;
    const IniText::Occurrence &last = m_text.m_occurrences[size_t(lastOccurrence)];
    if (last.endOption > last.firstOption)
        lastLine = last.endOption - 1;
    qint64 sectionEnd = lastLine >= 0 ? ownEnd(optionLine(lastLine)) : ownEnd(last.header);
    qsizetype firstKept = -1;
    for (size_t o = 0; o < plan.kept.size() && firstKept < 0; ++o) {
        if (plan.kept[o])
            firstKept = plan.lines[o];
    }
    qint64 anchor = firstKept >= 0 ? attachedStart(optionLine(firstKept)) : sectionEnd;
    QString indent = indentOf(firstKept >= 0 ? firstKept : lastLine);
    for (qsizetype row = 0; row < texts.size(); ++row) {
        if (plan.kept[size_t(row)]) {
            anchor = ownEnd(optionLine(plan.lines[size_t(row)]));
            indent = indentOf(plan.lines[size_t(row)]);
            continue;
        }
        const QString optionNameText = nodeName(row);
        const qsizetype line = plan.lines[size_t(row)];
        QString text = line >= 0 ? movedOption(line, optionNameText, nodeValue(row))
                                 : newLine(indent, optionNameText, nodeValue(row));
        if (!endsWithBreak(anchor))
            text.prepend(m_eol);
        add(out, anchor, anchor, text);
    }
}

QString LayoutWriter::sectionText(int t)
{
    const SectionPlan &plan = m_plans[size_t(t)];
    const OptionTexts &texts = m_tree.optionTexts(t);
    if (plan.model >= 0) {
        std::vector<Edit> edits;
        planSection(t, edits);
        std::stable_sort(edits.begin(), edits.end(), [](const Edit &a, const Edit &b) {
            return a.splice.begin < b.splice.begin
                || (a.splice.begin == b.splice.begin && a.splice.end == a.splice.begin
                    && b.splice.end > b.splice.begin);
        });
        QString text;
        forEachOccurrence(
            plan.model, [&](int o) { text += withLineEnd(render(occurrenceStart(o), occurrenceEnd(o), edits)); });
        return text;
    }
    QString text = u'[' + storedName(m_tree.sectionText(t, DocumentTree::NameColumn)) + u']' + m_eol;
    for (qsizetype row = 0; row < texts.size(); ++row) {
        const QString name = storedName(texts.text(row, DocumentTree::NameColumn));
        const QString value = storedValue(texts.text(row, DocumentTree::ValueColumn));
        const qsizetype line = m_plans[size_t(t)].lines[size_t(row)];
        text += line >= 0 ? movedOption(line, name, value) : newLine(QString(), name, value);
    }
    return text;
}

std::vector<IniText::Splice> LayoutWriter::splices()
{
    claim();
    std::vector<Edit> edits;
    // Sections read from the file keep their place while their order holds.
    std::vector<qsizetype> places(m_plans.size(), -1);
    for (size_t t = 0; t < m_plans.size(); ++t)
        places[t] = m_plans[t].model;
    const std::vector<bool> kept = longestRisingRun(places);
    for (size_t t = 0; t < m_plans.size(); ++t)
        m_plans[t].keptPlace = kept[t];

    for (int s = 0; s < int(m_text.m_sections.size()); ++s) {
        bool keptPlace = false;
        for (const SectionPlan &plan : m_plans)
            keptPlace = keptPlace || (plan.model == s && plan.keptPlace);
        if (!keptPlace)
            forEachOccurrence(s, [&](int o) { add(edits, occurrenceStart(o), occurrenceEnd(o), QString()); });
    }
    qint64 lastAppended = -1;
    for (int t = 0; t < int(m_plans.size()); ++t) {
        const SectionPlan &plan = m_plans[size_t(t)];
        if (plan.keptPlace) {
            planSection(t, edits);
            continue;
        }
        // Before the next section that keeps its place, or at the end of the file.
        qint64 anchor = m_size;
        for (size_t next = size_t(t) + 1; next < m_plans.size() && anchor == m_size; ++next) {
            if (m_plans[next].keptPlace)
                anchor = occurrenceStart(m_text.m_sections[size_t(m_plans[next].model)].firstOccurrence);
        }
        QString text = sectionText(t);
        if (anchor == m_size) {
            if (anchor == lastAppended) // after the section appended just before
                text.prepend(m_eol);
            else if (m_size > 0 && !endsWithBreak(m_size))
                text.prepend(m_eol + m_eol);
            else if (m_size > 0 && !blankLine(previousLineStart(m_size), lineEndFrom(previousLineStart(m_size))))
                text.prepend(m_eol);
            lastAppended = anchor;
        } else if (anchor > 0 && blankLine(previousLineStart(anchor), lineEndFrom(previousLineStart(anchor)))) {
            text += m_eol; // sections stand apart here
        }
        add(edits, anchor, anchor, text);
    }

    // In text order; at one place, what is put there comes before what goes from there.
    std::stable_sort(edits.begin(), edits.end(), [](const Edit &a, const Edit &b) {
        if (a.splice.begin != b.splice.begin)
            return a.splice.begin < b.splice.begin;
        const bool aInserts = a.splice.end == a.splice.begin;
        const bool bInserts = b.splice.end == b.splice.begin;
        if (aInserts != bInserts)
            return aInserts;
        return a.order < b.order;
    });
    std::vector<Splice> result;
    qint64 covered = 0; // end of the last removal: what lies within it is gone already
    for (Edit &edit : edits) {
        Splice &s = edit.splice;
        if (s.end > s.begin && s.end <= covered && s.begin < covered)
            continue;
        if (s.end == s.begin && s.begin < covered)
            continue;
        Q_ASSERT(s.begin >= covered || result.empty() || s.begin >= result.back().end);
        covered = std::max(covered, s.end);
        result.push_back(std::move(s));
    }
    return result;
}

std::vector<IniText::Splice> layoutSplices(const IniText &text, const DocumentTree &tree)
{
    return LayoutWriter(text, tree).splices();
}

namespace {

// Whether bytes, handed over in pieces, are valid UTF-8 with at least one byte beyond ASCII.
class ReadsAsUtf8 {
public:
    void add(QByteArrayView piece)
    {
        if (!m_valid)
            return;
        const QByteArray bytes = m_carry + piece.toByteArray();
        const qsizetype whole = wholeSequences(bytes);
        bool ascii = true;
        m_valid = isValidUtf8(reinterpret_cast<const uchar *>(bytes.constData()), whole, ascii);
        m_ascii = m_ascii && ascii;
        m_carry = bytes.sliced(whole);
    }
    [[nodiscard]] bool result() const { return m_valid && m_carry.isEmpty() && !m_ascii; }

private:
    // The bytes before a sequence that the end of the piece cuts short.
    static qsizetype wholeSequences(const QByteArray &bytes)
    {
        for (qsizetype i = bytes.size() - 1; i >= 0 && i >= bytes.size() - 3; --i) {
            const auto byte = static_cast<uchar>(bytes[i]);
            if ((byte & 0xC0) == 0x80)
                continue; // a continuation byte: its lead stands before it
            const qsizetype length = byte >= 0xF0 ? 4 : byte >= 0xE0 ? 3 : byte >= 0xC0 ? 2 : 1;
            return bytes.size() - i < length ? i : bytes.size();
        }
        return bytes.size();
    }

    QByteArray m_carry;
    bool m_valid = true;
    bool m_ascii = true;
};

} // namespace

void writeSplicedText(const IniText &text, const std::vector<IniText::Splice> &splices, const QString &fileName)
{
    FileReplacer file(fileName);
    writeSplicedText(text, splices, file);
}

void writeSplicedText(const IniText &text, const std::vector<IniText::Splice> &splices, FileReplacer &file)
{
    // A Latin-1 file is written as UTF-8 when a new text needs it, or when its new bytes would read
    // as UTF-8 anyway, so that every text reads back as it was; any other file keeps its encoding
    // and every byte outside the splices.
    bool toUtf8 = false;
    if (text.format().encoding == TextFormat::Encoding::Latin1) {
        for (const IniText::Splice &splice : splices)
            toUtf8 = toUtf8 || !fitsLatin1(splice.text);
        if (!toUtf8) {
            ReadsAsUtf8 check;
            text.writeSpliced(splices, [&check](QByteArrayView piece) { check.add(piece); });
            toUtf8 = check.result();
        }
    }
    if (toUtf8) {
        TextFormat utf8 = text.format();
        utf8.encoding = TextFormat::Encoding::Utf8;
        text.writeSpliced(
            splices, [&file](QByteArrayView piece) { file.write(piece); }, &utf8);
    } else {
        text.writeSpliced(splices, [&file](QByteArrayView piece) { file.write(piece); });
    }
    file.commit();
}
