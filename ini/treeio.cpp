// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "ini/treeio.h"

#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "ini/inifile.h"

#include "disk/diskfile.h"
#include "document/textrules.h"
#include "document/textview.h"
#include "ini/byteload.h"
#include "ini/initext.h"
#include "ini/layoutwrite.h"
#include "ini/nametable.h"
#include "ini/treesave.h"

#include <QCoreApplication>

#include <atomic>
#include <chrono>
#include <future>
#include <string_view>

namespace {

// The parse keeps all texts in one encoding, so names are equal when their code units are.
struct KeptOption {
    QAnyStringView name;
    QAnyStringView value;
    qint64 origin;
};

// Lets a section's options refer to their texts where the file's bytes hold them, shared by every
// section, instead of copying them. False for UTF-16 text, which is held decoded, and for a value
// too far from its name.
bool borrowTexts(
    OptionTexts &options, const OptionTexts::Source &source, const IniText &text, const std::vector<KeptOption> &kept)
{
    const QByteArray &bytes = text.bytes();
    const TextFormat::Encoding encoding = text.format().encoding;
    if (encoding != TextFormat::Encoding::Utf8 && encoding != TextFormat::Encoding::Latin1)
        return false;
    if (kept.empty())
        return true;
    const auto at
        = [&bytes](QAnyStringView view) { return static_cast<const char *>(view.data()) - bytes.constData(); };
    const auto beyondAscii = [](QAnyStringView view) {
        return textKind(view) == TextKind::Utf8 && !isAscii(static_cast<const char *>(view.data()), view.size_bytes());
    };
    // ASCII is the same bytes in Latin-1, the section's cheapest form; other UTF-8 stays UTF-8.
    OptionTexts::Form form = OptionTexts::Form::Latin1;
    for (const KeptOption &option : kept) {
        if (at(option.value) - at(option.name) - option.name.size_bytes() > OptionTexts::MaxGap)
            return false;
        if (form == OptionTexts::Form::Latin1 && (beyondAscii(option.name) || beyondAscii(option.value)))
            form = OptionTexts::Form::Utf8;
    }
    options.borrow(source, form);
    options.reserve(qsizetype(kept.size()), 0);
    for (const KeptOption &option : kept) {
        options.appendBorrowed(at(option.name), option.name.size_bytes(), at(option.value), option.value.size_bytes());
    }
    return true;
}

// Reads and parses the file and builds the document from it, on a thread of its own, and counts
// how far it has got in `percent`. Each section keeps each option name once, with its first value.
DocumentContents buildContents(const QString &fileName, TextFormat &format, QByteArray &read, std::atomic<int> &percent)
{
    QByteArray bytes;
    const ReadOutcome outcome = readWholeFile(fileName, bytes);
    read = bytes; // shared: the document's texts stand in them anyway
    if (outcome == ReadOutcome::Unreadable)
        throw SaldrixError(unableToRead(fileName));
    if (outcome == ReadOutcome::TooLarge) {
        throw SaldrixError(
            unableToRead(fileName) + u'\n' + QCoreApplication::translate("TIniFile", "The file is larger than 1 GiB."));
    }
    percent = 10;
    if (outcome == ReadOutcome::Read) {
        if (std::optional<DocumentContents> contents = contentsFromBytes(bytes, format, percent))
            return std::move(*contents);
    }
    const IniText text = outcome == ReadOutcome::Read ? IniText(std::move(bytes)) : IniText();
    percent = 40;
    format = text.format();
    DocumentContents contents;
    qsizetype optionsTotal = 0;
    for (int s = 0; s < text.sectionCount(); ++s)
        optionsTotal += text.optionCount(s);
    qsizetype optionsDone = 0;

    const OptionTexts::Source source(text.bytes());
    std::vector<KeptOption> kept;
    NameTable places;
    const auto nameAt = [&kept](qsizetype p) {
        const QAnyStringView name = kept[size_t(p)].name;
        return std::string_view(static_cast<const char *>(name.data()), size_t(name.size_bytes()));
    };
    for (int s = 0; s < text.sectionCount(); ++s) {
        const int section = contents.appendSection(text.sectionName(s), text.sectionOrigin(s));
        const qsizetype count = text.optionCount(s);
        kept.clear();
        kept.reserve(size_t(count));
        places.reset(count);
        qsizetype units = 0;
        text.forEachOption(s, [&](qsizetype option) {
            kept.push_back({ text.optionNameView(option), text.optionValueView(option), text.optionOrigin(option) });
            const std::string_view name = nameAt(qsizetype(kept.size()) - 1);
            if (places.findOrInsert(NameTable::hash(name), qsizetype(kept.size()) - 1, nameAt) >= 0)
                kept.pop_back(); // a repeated name reads as its first value
            else
                units += kept.back().name.size() + kept.back().value.size();
        });
        if (!borrowTexts(contents.optionsOf(section), source, text, kept)) {
            contents.reserveOptions(section, qsizetype(kept.size()), units);
            for (const KeptOption &option : kept)
                contents.appendOption(section, option.name, option.value, option.origin);
        }
        optionsDone += count;
        percent = 40 + int(60 * optionsDone / std::max<qsizetype>(optionsTotal, 1));
    }
    return contents;
}

} // namespace

void LoadTreeFromIni(DocumentTree &tree, const QString &fileName, const std::function<void(int)> &progress)
{
    TextFormat format;
    QByteArray bytes;
    std::atomic<int> percent = 0;
    // With progress to report, the file is read on a thread of its own, so that the caller can go
    // on with other work in its reports; the tree is changed only here, once the document is whole.
    // Without, a thread would only cost: its memory grows a page at a time.
    const auto build = [&] { return buildContents(fileName, format, bytes, percent); };
    DocumentContents contents;
    if (progress) {
        auto built = std::async(std::launch::async, build);
        while (built.wait_for(std::chrono::milliseconds(8)) != std::future_status::ready)
            progress(percent.load());
        contents = built.get(); // rethrows the worker's failure
        progress(100);
    } else {
        contents = build();
    }
    tree.append(std::move(contents));
    tree.setSourceFormat(format);
    tree.setLayoutBytes(bytes);
}

void SaveTreeToIni(const DocumentTree &tree, const QString &fileName)
{
    if (saveTreeAsItStands(tree, fileName))
        return;
    TIniFile ini(fileName);
    // The old file stays in place until the new one is complete, so a failed save loses nothing.
    // The text is written in the document's own format, whatever file is there now.
    qsizetype options = 0;
    for (int section = 0; section < tree.sectionCount(); ++section)
        options += tree.optionCount(section);
    ini.beginRewrite(tree.sourceFormat(), options);
    for (int section = 0; section < tree.sectionCount(); ++section) {
        const QString &sectionName = tree.sectionText(section, DocumentTree::NameColumn);
        if (sectionName.isEmpty())
            continue;
        for (int option = 0; option < tree.optionCount(section); ++option) {
            const QAnyStringView optionName = tree.optionTextView(section, option, DocumentTree::NameColumn);
            if (optionName.isEmpty())
                continue;
            // The tree stays as it is until the commit: the rewrite may refer to its texts.
            ini.WriteLastingValue(
                sectionName, optionName, tree.optionTextView(section, option, DocumentTree::ValueColumn));
        }
    }
    ini.commitRewrite();
}

std::shared_ptr<const IniText> layoutTextOf(const DocumentTree &tree)
{
    if (!tree.layoutParse() && !tree.layoutBytes().isNull())
        tree.keepLayoutParse(std::make_shared<const IniText>(tree.layoutBytes()));
    return tree.layoutParse();
}

void saveTreeKeepingLayout(const DocumentTree &tree, const QString &fileName)
{
    std::shared_ptr<const IniText> text = layoutTextOf(tree);
    if (!text)
        text = std::make_shared<const IniText>(tree.sourceFormat());
    writeSplicedText(*text, layoutSplices(*text, tree), fileName);
}
