#include "document/treeio.h"

#include "document/busycursor.h"
#include "document/documenttree.h"
#include "document/inifile.h"
#include "document/saldrixerror.h"

#include <QCoreApplication>
#include <QElapsedTimer>

namespace {

// Lets waiting events run while a long load goes on, so the window keeps painting. User input
// stays queued until the load is over: a command run from inside the load could change or clear
// the tree under it. One pass every few milliseconds keeps a large load responsive without paying
// for an event-loop pass per option.
class EventPass {
public:
    void run()
    {
        if ((++m_calls & 0x1F) != 1 && m_timer.isValid())
            return; // look at the clock only every 32 options
        if (m_timer.isValid() && m_timer.elapsed() < IntervalMs)
            return;
        if (QCoreApplication::instance() != nullptr)
            QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        m_timer.start();
    }

private:
    static constexpr qint64 IntervalMs = 8;
    QElapsedTimer m_timer;
    quint32 m_calls = 0;
};

} // namespace

void LoadTreeFromIni(DocumentTree &tree, const QString &fileName)
{
    TIniFile ini(fileName);
    QStringList sectionNames;
    QStringList optionNames;
    BusyCursor busy;
    // The whole file is parsed once; every name and value below is read from that one parse.
    const TIniFile::SnapshotResult read = ini.takeSnapshot();
    if (read == TIniFile::SnapshotResult::Unreadable)
        throw SaldrixError(QCoreApplication::translate("TIniFile", "Unable to read %1").arg(fileName));
    if (read == TIniFile::SnapshotResult::TooLarge) {
        throw SaldrixError(QCoreApplication::translate("TIniFile", "Unable to read %1").arg(fileName) + u'\n'
            + QCoreApplication::translate("TIniFile", "The file is larger than 1 GiB."));
    }
    {
        TreeBatch batch(tree);
        EventPass events;
        ini.GetSectionNames(sectionNames);
        for (const QString &sectionName : std::as_const(sectionNames)) {
            const int section = tree.appendSection(sectionName);
            ini.GetOptionNames(sectionName, optionNames);
            tree.reserveOptions(section, static_cast<int>(optionNames.size()));
            for (const QString &optionName : std::as_const(optionNames)) {
                events.run();
                tree.appendOption(section, optionName, ini.ReadValue(sectionName, optionName, QString()));
            }
        }
        tree.setSourceFormat(ini.snapshotFormat());
        // The parsed file is not needed any more; drop it before views rebuild from the tree.
        ini.releaseSnapshot();
        optionNames.clear();
        sectionNames.clear();
    }
}

void SaveTreeToIni(const DocumentTree &tree, const QString &fileName)
{
    TIniFile ini(fileName);
    BusyCursor busy;
    // The old file stays in place until the new one is complete, so a failed save loses nothing.
    // The text is written in the document's own format, whatever file is there now.
    ini.beginRewrite(tree.sourceFormat());
    for (int section = 0; section < tree.sectionCount(); ++section) {
        const QString &sectionName = tree.sectionText(section, DocumentTree::NameColumn);
        if (sectionName.isEmpty())
            continue;
        for (int option = 0; option < tree.optionCount(section); ++option) {
            const QString &optionName = tree.optionText(section, option, DocumentTree::NameColumn);
            if (optionName.isEmpty())
                continue;
            ini.WriteValue(sectionName, optionName, tree.optionText(section, option, DocumentTree::ValueColumn));
        }
    }
    ini.commitRewrite();
}
