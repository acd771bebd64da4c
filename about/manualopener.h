// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#pragma once

#include <QDialog>
#include <QPointer>
#include <QStringList>

class QTextBrowser;

// The user manual is one HTML page per language in a folder of its own: index.html in English,
// index.LANG.html in the others ("index.de.html").

// Where the manual stands beside the program: the build puts it in manual/ beside the program,
// the installation in share/doc/yorvsaldrix/manual/ beside bin/. The first that holds the English page,
// else an empty text.
[[nodiscard]] QString manualFolder(const QString &programFolder);
// The page in the window's language, named by the translation ("index.de.html"), when the folder
// has it, else the English page; an empty text when the folder has no English page.
[[nodiscard]] QString manualPage(const QString &folder, const QString &translatedName);

// A window of the program's own that shows the manual, for a desktop without a browser. Its links
// stay within the manual.
class ManualViewer : public QDialog {
    Q_OBJECT

public:
    explicit ManualViewer(const QString &page, QWidget *parent = nullptr);

    QTextBrowser *Browser = nullptr;
};

// Opens the manual in the desktop's browser, through a program that hands a URL to it (xdg-open),
// and in a ManualViewer when that program cannot be started or reports that it failed. The
// browser is not waited for: the window goes on at once, and a browser that the program keeps
// running outlives the window.
class ManualOpener : public QObject {
    Q_OBJECT

public:
    explicit ManualOpener(QWidget *window);

    // The program given the page's URL as its one argument; "xdg-open" unless set.
    void setBrowserProgram(const QString &program);

    void open(const QString &page);
    // The viewer, while one is shown.
    [[nodiscard]] ManualViewer *viewer() const { return m_viewer; }

Q_SIGNALS:
    // The browser program is done with the page: it has ended, or it could not be started.
    void browserAnswered(bool opened);

private:
    void showViewer(const QString &page);

    QWidget *m_window;
    QString m_browser = QStringLiteral("xdg-open");
    QPointer<ManualViewer> m_viewer;
};
