// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// What `cmake --install` puts under a prefix, judged by the desktop's own tools: .ini files take
// the program's type, the program is their default application, and the desktop entry and the
// AppStream description pass their validators.
#include "about/manualopener.h"
#include "requiredtools.h"
#include "testfiles.h"

#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

using namespace Qt::StringLiterals;

namespace {

const QString Id = u"org.example.YorvSaldrix"_s;

struct Result {
    int exitCode = -1;
    QString out;
};

Result run(const QString &program, const QStringList &arguments,
    const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.setProcessChannelMode(QProcess::MergedChannels);
    process.start(program, arguments);
    Result result;
    if (!process.waitForFinished(60000)) {
        process.kill();
        process.waitForFinished();
        return result;
    }
    result.exitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -2;
    result.out = QString::fromLocal8Bit(process.readAll()).trimmed();
    return result;
}

} // namespace

class tst_Installation : public QObject {
    Q_OBJECT

private:
    QTemporaryDir m_prefix;
    QString m_share;

    // The desktop's view with the prefix's data first and nothing of the user's or a desktop's own.
    QProcessEnvironment desktop(bool withPrefix) const
    {
        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        for (const char *name : { "XDG_CURRENT_DESKTOP", "KDE_FULL_SESSION", "GNOME_DESKTOP_SESSION_ID",
                 "DESKTOP_SESSION", "XDG_SESSION_DESKTOP" })
            environment.remove(QLatin1String(name));
        environment.insert(u"XDG_DATA_HOME"_s, m_prefix.filePath(u"home/data"_s));
        environment.insert(u"XDG_CONFIG_HOME"_s, m_prefix.filePath(u"home/config"_s));
        environment.insert(u"XDG_CONFIG_DIRS"_s, m_prefix.filePath(u"home/config"_s));
        environment.insert(u"XDG_DATA_DIRS"_s, withPrefix ? m_share + u":/usr/share"_s : u"/usr/share"_s);
        return environment;
    }

private Q_SLOTS:
    void initTestCase();
    void installsWhatADesktopNeeds();
    void iniFilesTakeTheProgramsType();
    void entryAndDescriptionPassTheirValidators();
};

void tst_Installation::initTestCase()
{
    SALDRIX_REQUIRE_TOOLS(u"xdg-mime"_s, u"mimetype"_s, u"update-mime-database"_s, u"update-desktop-database"_s,
        u"desktop-file-validate"_s, u"appstreamcli"_s);
    QVERIFY(m_prefix.isValid());
    m_share = m_prefix.filePath(u"share"_s);
    const Result installed = run(QStringLiteral(SALDRIX_CMAKE),
        { u"--install"_s, QStringLiteral(SALDRIX_BINARY_DIR), u"--prefix"_s, m_prefix.path() });
    QVERIFY2(installed.exitCode == 0, qPrintable(installed.out));
    const Result mime = run(u"update-mime-database"_s, { m_share + u"/mime"_s });
    QVERIFY2(mime.exitCode == 0, qPrintable(mime.out));
    const Result applications = run(u"update-desktop-database"_s, { m_share + u"/applications"_s });
    QVERIFY2(applications.exitCode == 0, qPrintable(applications.out));
    QVERIFY(QDir().mkpath(m_prefix.filePath(u"home/data"_s)) && QDir().mkpath(m_prefix.filePath(u"home/config"_s)));
}

void tst_Installation::installsWhatADesktopNeeds()
{
    for (const QString &file : { u"bin/yorvsaldrix"_s, u"share/applications/"_s + Id + u".desktop"_s,
             u"share/metainfo/"_s + Id + u".metainfo.xml"_s, u"share/mime/packages/yorvsaldrix.xml"_s,
             u"share/man/man1/yorvsaldrix.1"_s, u"share/icons/hicolor/scalable/apps/yorvsaldrix.svg"_s,
             u"share/icons/hicolor/64x64/apps/yorvsaldrix.png"_s, u"share/doc/yorvsaldrix/manual/index.html"_s,
             u"share/doc/yorvsaldrix/manual/index.de.html"_s })
        QVERIFY2(QFile::exists(m_prefix.filePath(file)), qPrintable(file));
    // The installed program finds its manual from where it stands.
    QCOMPARE(manualFolder(m_prefix.filePath(u"bin"_s)), m_prefix.filePath(u"share/doc/yorvsaldrix/manual"_s));
    // A file manager passes the file after "--", so that a name starting with "-" is not an option.
    const QByteArray entry = testfiles::readBytes(m_share + u"/applications/"_s + Id + u".desktop"_s);
    QVERIFY(entry.contains("\nExec=yorvsaldrix -- %f\n"));
    QVERIFY(entry.contains("\nMimeType=text/x-ini;"));
}

void tst_Installation::iniFilesTakeTheProgramsType()
{
    QTemporaryDir files;
    const QString plain = files.filePath(u"settings.ini"_s);
    const QString upper = files.filePath(u"CDPLAYER.INI"_s);
    const QString dashed = files.filePath(u"-x.ini"_s);
    for (const QString &name : { plain, upper, dashed })
        testfiles::writeBytes(name, "[a]\nx=1\n");

    for (const QString &name : { plain, upper, dashed }) {
        const Result type = run(u"xdg-mime"_s, { u"query"_s, u"filetype"_s, name }, desktop(true));
        QCOMPARE(type.out, u"text/x-ini"_s);
    }
    // The type is the program's: without it, an INI file is plain text.
    QCOMPARE(run(u"xdg-mime"_s, { u"query"_s, u"filetype"_s, plain }, desktop(false)).out, u"text/plain"_s);
    // Nothing else claims the type, so the program is its default application.
    QCOMPARE(run(u"xdg-mime"_s, { u"query"_s, u"default"_s, u"text/x-ini"_s }, desktop(true)).out, Id + u".desktop"_s);
}

void tst_Installation::entryAndDescriptionPassTheirValidators()
{
    const Result entry = run(u"desktop-file-validate"_s, { m_share + u"/applications/"_s + Id + u".desktop"_s });
    QVERIFY2(entry.exitCode == 0 && entry.out.isEmpty(), qPrintable(entry.out));
    const Result metainfo
        = run(u"appstreamcli"_s, { u"validate"_s, u"--no-net"_s, m_share + u"/metainfo/"_s + Id + u".metainfo.xml"_s });
    QVERIFY2(metainfo.exitCode == 0, qPrintable(metainfo.out));
    // The description names the entry it describes and the type it opens.
    const QByteArray description = testfiles::readBytes(m_share + u"/metainfo/"_s + Id + u".metainfo.xml"_s);
    QVERIFY(description.contains("<id>" + Id.toUtf8() + "</id>"));
    QVERIFY(description.contains("<launchable type=\"desktop-id\">" + Id.toUtf8() + ".desktop</launchable>"));
    QVERIFY(description.contains("<mediatype>text/x-ini</mediatype>"));
}

QTEST_GUILESS_MAIN(tst_Installation)
#include "tst_installation.moc"
