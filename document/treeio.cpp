#include "document/treeio.h"

#include "document/documenttree.h"
#include "document/saldrixerror.h"

#include <QFile>
#include <QSaveFile>

// Placeholder reader and writer; the profile store replaces them.
void LoadTreeFromIni(DocumentTree &tree, const QString &fileName)
{
    QFile file(fileName);
    if (!file.exists())
        return;
    if (!file.open(QIODevice::ReadOnly))
        throw SaldrixError(QObject::tr("Unable to read %1").arg(fileName));
    TreeBatch batch(tree);
    int section = -1;
    const QString text = QString::fromUtf8(file.readAll());
    for (const QString &raw : text.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u';') || line.startsWith(u'#'))
            continue;
        if (line.startsWith(u'[')) {
            const qsizetype end = line.lastIndexOf(u']');
            section = tree.appendSection(line.mid(1, end < 0 ? -1 : end - 1).trimmed());
            continue;
        }
        const qsizetype eq = line.indexOf(u'=');
        if (section >= 0 && eq >= 0)
            tree.appendOption(section, line.left(eq).trimmed(), line.mid(eq + 1).trimmed());
    }
}

void SaveTreeToIni(const DocumentTree &tree, const QString &fileName)
{
    QSaveFile file(fileName);
    if (!file.open(QIODevice::WriteOnly))
        throw SaldrixError(QObject::tr("Unable to write to %1").arg(fileName));
    QByteArray out;
    for (int s = 0; s < tree.sectionCount(); ++s) {
        if (tree.sectionText(s, 0).isEmpty())
            continue;
        out += '[' + tree.sectionText(s, 0).toUtf8() + "]\n";
        for (int o = 0; o < tree.optionCount(s); ++o) {
            if (!tree.optionText(s, o, 0).isEmpty())
                out += tree.optionText(s, o, 0).toUtf8() + '=' + tree.optionText(s, o, 1).toUtf8() + '\n';
        }
    }
    file.write(out);
    if (!file.commit())
        throw SaldrixError(QObject::tr("Unable to write to %1").arg(fileName));
}
