// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "export/exportcatalogue.h"

#include "document/documenttree.h"
#include "document/saldrixerror.h"
#include "document/textrules.h"
#include "export/exportfile.h"
#include "export/exportoptions.h"
#include "export/exportprogress.h"

#include <QCoreApplication>
#include <QStringEncoder>

#include <functional>
#include <initializer_list>

namespace {

// Only the ASCII letters change: catalogue keywords are ASCII, and a full Unicode upper-casing
// would let names such as "tıtle" (dotless i) pass for a keyword.
char16_t upperAscii(char16_t c)
{
    return (c >= u'a' && c <= u'z') ? char16_t(c - (u'a' - u'A')) : c;
}

QString upperAscii(const QString &text)
{
    QString result = text;
    for (QChar &c : result)
        c = QChar(upperAscii(c.unicode()));
    return result;
}

bool isKeyword(QStringView name, QLatin1StringView keyword)
{
    if (name.size() != keyword.size())
        return false;
    for (qsizetype i = 0; i < name.size(); ++i) {
        if (upperAscii(name[i].unicode()) != keyword[i].unicode())
            return false;
    }
    return true;
}

bool isSkippedSection(const QString &volume)
{
    return volume.isEmpty() || volume == u"OPTIONSETTINGS";
}

enum class OptionKind { Ignored, Artist, Title, Genre, NumTracks, Track };

OptionKind classify(const QString &name)
{
    if (name.isEmpty() || isKeyword(name, QLatin1StringView("ENTRYTYPE")) || isKeyword(name, QLatin1StringView("ORDER"))
        || isKeyword(name, QLatin1StringView("NUMPLAY")))
        return OptionKind::Ignored;
    if (isKeyword(name, QLatin1StringView("ARTIST")))
        return OptionKind::Artist;
    if (isKeyword(name, QLatin1StringView("TITLE")))
        return OptionKind::Title;
    if (isKeyword(name, QLatin1StringView("GENRE")))
        return OptionKind::Genre;
    if (isKeyword(name, QLatin1StringView("NUMTRACKS")))
        return OptionKind::NumTracks;
    return OptionKind::Track;
}

// The export is written in the encoding its document was read in. A Latin-1 document whose edits
// brought in characters beyond Latin-1 is written as UTF-8 rather than losing them; UTF-16 files
// are written as UTF-8 too, since the export is 8-bit text.
QStringConverter::Encoding exportEncoding(const DocumentTree &tree, const ExportOptions &options)
{
    if (tree.sourceFormat().encoding != TextFormat::Encoding::Latin1)
        return QStringConverter::Utf8;
    if (!fitsLatin1(options.Separator) || !fitsLatin1(options.SeparatorLine))
        return QStringConverter::Utf8;
    for (int s = 0; s < tree.sectionCount(); ++s) {
        if (!fitsLatin1(tree.sectionText(s, DocumentTree::NameColumn)))
            return QStringConverter::Utf8;
        for (int o = 0; o < tree.optionCount(s); ++o) {
            if (!fitsLatin1(tree.optionText(s, o, DocumentTree::NameColumn))
                || !fitsLatin1(tree.optionText(s, o, DocumentTree::ValueColumn)))
                return QStringConverter::Utf8;
        }
    }
    return QStringConverter::Latin1;
}

// Encodes each line and hands it to the file with its CR LF.
class LineWriter {
public:
    LineWriter(ExportFile &file, QStringConverter::Encoding encoding)
        : m_file(file)
        , m_encoder(encoding, QStringConverter::Flag::Stateless)
    {
    }

    void line(std::initializer_list<QStringView> parts)
    {
        m_line.resize(0);
        for (QStringView part : parts) {
            const qsizetype used = m_line.size();
            m_line.resize(used + m_encoder.requiredSpace(part.size()));
            char *end = m_encoder.appendToBuffer(m_line.data() + used, part);
            m_line.resize(end - m_line.constData());
        }
        m_line.append("\r\n", 2);
        m_file.write(m_line);
    }

private:
    ExportFile &m_file;
    QStringEncoder m_encoder;
    QByteArray m_line;
};

// Calls EndProgress on every way out, before the cursor and the file are released.
class ProgressScope {
public:
    ProgressScope(ExportProgress &progress, int total)
        : m_progress(progress)
    {
        m_progress.BeginProgress(total);
    }
    ~ProgressScope() { end(); }
    ProgressScope(const ProgressScope &) = delete;
    ProgressScope &operator=(const ProgressScope &) = delete;

    void end()
    {
        if (m_active) {
            m_active = false;
            m_progress.EndProgress();
        }
    }

private:
    ExportProgress &m_progress;
    bool m_active = true;
};

// The busy cursor for as long as it lives, through the window layer's callback.
class BusyScope {
public:
    explicit BusyScope(const std::function<void(bool)> &show)
        : m_show(show)
    {
        if (m_show)
            m_show(true);
    }
    ~BusyScope() { end(); }
    BusyScope(const BusyScope &) = delete;
    BusyScope &operator=(const BusyScope &) = delete;

    void end()
    {
        if (m_show && m_active) {
            m_active = false;
            m_show(false);
        }
    }

private:
    const std::function<void(bool)> &m_show;
    bool m_active = true;
};

void writeCatalogue(const DocumentTree &tree, const ExportOptions &options, ExportProgress &progress, LineWriter &out)
{
    QString artist;
    QString title;
    for (int s = 0; s < tree.sectionCount(); ++s) {
        const QString volume = upperAscii(tree.sectionText(s, DocumentTree::NameColumn));
        if (isSkippedSection(volume))
            continue;
        // Each disc starts afresh: a heading never joins one disc's artist with another's title.
        artist.clear();
        title.clear();
        bool firstTrack = true;
        for (int o = 0; o < tree.optionCount(s); ++o) {
            const QString &name = tree.optionText(s, o, DocumentTree::NameColumn);
            const QString &value = tree.optionText(s, o, DocumentTree::ValueColumn);
            const OptionKind kind = classify(name);
            switch (kind) {
            case OptionKind::Ignored:
                break;
            case OptionKind::Artist:
            case OptionKind::Title:
                (kind == OptionKind::Artist ? artist : title) = value;
                if (!artist.isEmpty() && !title.isEmpty()) {
                    if (options.ArtistFirst)
                        out.line({ artist, options.Separator, title });
                    else
                        out.line({ title, options.Separator, artist });
                    if (options.IncludeVolume)
                        out.line({ u"Volume=", volume });
                    artist.clear();
                    title.clear();
                }
                break;
            case OptionKind::Genre:
                if (options.IncludeGenre)
                    out.line({ u"Genre=", value });
                break;
            case OptionKind::NumTracks:
                if (options.IncludeNumTracks)
                    out.line({ u"NumTracks=", value });
                break;
            case OptionKind::Track:
                if (firstTrack) {
                    firstTrack = false;
                    out.line({ options.SeparatorLine });
                }
                out.line({ name, u". ", value });
                break;
            }
        }
        out.line({});
        out.line({});
        out.line({});
        progress.StepProgress();
    }
}

} // namespace

void ExportCatalogue(
    const DocumentTree &tree, const ExportOptions &options, ExportProgress &progress, const ExportContext &context)
{
    // Declared in the reverse of the cleanup order, so that on a failure the progress display goes
    // first, then the busy cursor, and the file is closed last.
    ExportFile file;
    BusyScope busy(context.showBusy);
    ProgressScope scope(progress, tree.sectionCount());

    if (ExportFile::isSameFile(options.FileName, context.documentFileName)) {
        throw SaldrixError(QCoreApplication::translate("ExportCatalogue",
            "The export file %1 is the open document's own file; choose another name for the export.")
                               .arg(options.FileName));
    }
    file.create(options.FileName);
    LineWriter out(file, exportEncoding(tree, options));
    writeCatalogue(tree, options, progress, out);
    file.flush();

    scope.end();
    busy.end();
    file.close();
    if (context.showInformation)
        context.showInformation(QCoreApplication::translate("ExportCatalogue", "Export Successfully Done."));
}
