// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "about/manualopener.h"

#include <QDialogButtonBox>
#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QTextBrowser>
#include <QUrl>
#include <QVBoxLayout>

namespace {

const QString englishPage = QStringLiteral("index.html");

} // namespace

QString manualFolder(const QString &programFolder)
{
    const QDir program(programFolder);
    for (const QString &relative : { QStringLiteral("manual"), QStringLiteral("../share/doc/yorvsaldrix/manual") }) {
        const QString folder = QDir::cleanPath(program.filePath(relative));
        if (QFileInfo(QDir(folder).filePath(englishPage)).isFile())
            return folder;
    }
    return {};
}

QString manualPage(const QString &folder, const QString &translatedName)
{
    const QDir dir(folder);
    if (folder.isEmpty() || !QFileInfo(dir.filePath(englishPage)).isFile())
        return {};
    // A name that could lead out of the folder is no page of it.
    const bool plainName
        = !translatedName.isEmpty() && !translatedName.contains(u'/') && !translatedName.startsWith(u'.');
    if (plainName && QFileInfo(dir.filePath(translatedName)).isFile())
        return dir.filePath(translatedName);
    return dir.filePath(englishPage);
}

ManualViewer::ManualViewer(const QString &page, QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("ManualViewer"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowFlag(Qt::WindowMaximizeButtonHint);
    setSizeGripEnabled(true);

    Browser = new QTextBrowser(this);
    Browser->setObjectName(QStringLiteral("Browser"));
    Browser->setOpenLinks(true);
    Browser->setOpenExternalLinks(false);
    Browser->setSource(QUrl::fromLocalFile(page));
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Browser);
    layout->addWidget(buttons);
    const auto updateTitle = [this] { setWindowTitle(Browser->documentTitle()); };
    connect(Browser, &QTextBrowser::sourceChanged, this, updateTitle);
    updateTitle();
    // A readable page: about 70 characters a line, and as many lines as fit a small screen.
    const QFontMetrics metrics(Browser->font());
    resize(metrics.averageCharWidth() * 80, metrics.lineSpacing() * 30);
}

ManualOpener::ManualOpener(QWidget *window)
    : QObject(window)
    , m_window(window)
{
}

void ManualOpener::setBrowserProgram(const QString &program)
{
    m_browser = program;
}

void ManualOpener::open(const QString &page)
{
    // The process has no parent: a browser that xdg-open waits for must not be ended with the
    // window. It removes itself once it is done.
    auto *process = new QProcess;
    process->setProgram(m_browser);
    process->setArguments({ QUrl::fromLocalFile(page).toString() });
    process->setStandardOutputFile(QProcess::nullDevice());
    process->setStandardErrorFile(QProcess::nullDevice());
    const QPointer<ManualOpener> self(this);
    const auto answered = [self, page](bool opened) {
        if (self.isNull())
            return;
        if (!opened)
            self->showViewer(page);
        Q_EMIT self->browserAnswered(opened);
    };
    connect(process, &QProcess::finished, process, [process, answered](int code, QProcess::ExitStatus status) {
        process->deleteLater();
        answered(status == QProcess::NormalExit && code == 0);
    });
    connect(process, &QProcess::errorOccurred, process, [process, answered](QProcess::ProcessError error) {
        if (error != QProcess::FailedToStart)
            return;
        process->deleteLater();
        answered(false);
    });
    process->start();
}

void ManualOpener::showViewer(const QString &page)
{
    if (m_viewer.isNull())
        m_viewer = new ManualViewer(page, m_window);
    else
        m_viewer->Browser->setSource(QUrl::fromLocalFile(page));
    m_viewer->show();
    m_viewer->raise();
    m_viewer->activateWindow();
}
