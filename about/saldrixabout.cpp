// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

#include "about/saldrixabout.h"

#include "about/linklabel.h"

#include <QDesktopServices>
#include <QFrame>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

#include <unistd.h>

const QString TfrmAboutDlg::MailAddress = QStringLiteral("yorvsaldrix@example.org");

QString memoryFigure(quint64 totalBytes)
{
    return QString::number(totalBytes >> 10) + QStringLiteral(" KB");
}

quint64 totalPhysicalMemory()
{
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGE_SIZE);
    if (pages <= 0 || pageSize <= 0)
        return 0;
    return quint64(pages) * quint64(pageSize);
}

namespace {

QFont face(const QString &family, QFont::StyleHint hint, int pixelSize)
{
    QFont font(family);
    font.setStyleHint(hint);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    return font;
}

QLabel *label(QWidget *parent, const QString &name, const QString &text)
{
    auto *result = new QLabel(text, parent);
    result->setObjectName(name);
    return result;
}

} // namespace

TfrmAboutDlg::TfrmAboutDlg(QWidget *parent, UrlOpener opener)
    : QDialog(parent)
    , m_opener(std::move(opener))
{
    if (!m_opener)
        m_opener = [](const QUrl &url) { QDesktopServices::openUrl(url); };
    setObjectName(QStringLiteral("frmAboutDlg"));
    setWindowTitle(tr("About"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    createControls();
    FormCreate();
    // The designed size, or more where the texts need it (a larger font, a translation), within the
    // screen.
    QSize fitted = QSize(321, 246).expandedTo(layout()->totalMinimumSize());
    const QScreen *screen = QGuiApplication::primaryScreen();
    if (screen != nullptr)
        fitted = fitted.boundedTo(screen->availableSize());
    setFixedSize(fitted);
    if (screen != nullptr) {
        QRect frame(QPoint(0, 0), size());
        frame.moveCenter(screen->availableGeometry().center());
        move(frame.topLeft());
    }
}

void TfrmAboutDlg::createControls()
{
    imgProductIcon = label(this, QStringLiteral("imgProductIcon"), QString());
    imgProductIcon->setFixedSize(32, 32);
    imgProductIcon->setAlignment(Qt::AlignCenter);
    // The window's icon is its owner's or the application's when they have one.
    QIcon icon = windowIcon();
    if (icon.isNull())
        icon = QIcon(QStringLiteral(":/icons/yorvsaldrix.png"));
    imgProductIcon->setPixmap(icon.pixmap(32, 32));

    lbProductName1 = label(this, QStringLiteral("lbProductName1"), QStringLiteral("Yorv"));
    lbProductName1->setFont(face(QStringLiteral("serif"), QFont::Serif, 21));
    lbProductName2 = label(this, QStringLiteral("lbProductName2"), QStringLiteral("Saldrix"));
    lbProductName2->setFont(face(QStringLiteral("sans-serif"), QFont::SansSerif, 24));
    lbVersion = label(this, QStringLiteral("lbVersion"), tr("Version 1.8"));
    lbNotice = label(this, QStringLiteral("lbNotice"), tr("\u00a9 2026 The YorvSaldrix developers"));

    auto *link = new LinkLabel(MailAddress, this);
    link->setObjectName(QStringLiteral("lbWebLink"));
    link->setToolTip(tr("Write to %1").arg(MailAddress));
    link->setStatusTip(link->toolTip());
    link->setAccessibleDescription(link->toolTip());
    connect(link, &LinkLabel::activated, this, &TfrmAboutDlg::lbWebLinkClick);
    lbWebLink = link;

    BevelMidt = new QFrame(this);
    BevelMidt->setObjectName(QStringLiteral("BevelMidt"));
    BevelMidt->setFrameShape(QFrame::HLine);
    BevelMidt->setFrameShadow(QFrame::Sunken);

    lbMemory1 = label(this, QStringLiteral("lbMemory1"), tr("Memory available to Windows:"));
    lbMemory2 = label(this, QStringLiteral("lbMemory2"), tr("0 KB"));
    lbMemory2->setAlignment(Qt::AlignRight | Qt::AlignVCenter);

    BtnOk = new QPushButton(tr("OK"), this);
    BtnOk->setObjectName(QStringLiteral("BtnOk"));
    BtnOk->setDefault(true);
    BtnOk->setAutoDefault(true);
    connect(BtnOk, &QPushButton::clicked, this, &TfrmAboutDlg::BtnOkClick);
    // The link takes the keyboard too, but the dialog opens on OK, so that Enter closes it.
    BtnOk->setFocus();

    auto *names = new QVBoxLayout;
    names->setSpacing(0);
    names->addWidget(lbProductName1);
    names->addWidget(lbProductName2);
    names->addSpacing(6);
    names->addWidget(lbVersion);
    names->addWidget(lbNotice);
    names->addSpacing(6);
    names->addWidget(lbWebLink, 0, Qt::AlignLeft);

    auto *top = new QHBoxLayout;
    top->addWidget(imgProductIcon, 0, Qt::AlignTop);
    top->addSpacing(8);
    top->addLayout(names, 1);

    auto *memory = new QHBoxLayout;
    memory->addWidget(lbMemory1);
    memory->addStretch(1);
    memory->addWidget(lbMemory2);

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(BtnOk);
    buttons->addStretch(1);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addStretch(1);
    layout->addWidget(BevelMidt);
    layout->addLayout(memory);
    layout->addStretch(1);
    layout->addLayout(buttons);
}

void TfrmAboutDlg::FormCreate()
{
    lbMemory2->setText(memoryFigure(totalPhysicalMemory()));
}

QString TfrmAboutDlg::mailLink()
{
    return QStringLiteral("mailto: ") + MailAddress + QStringLiteral("?subject=YorvSaldrix");
}

void TfrmAboutDlg::setLinkCursor(const QCursor &cursor)
{
    lbWebLink->setCursor(cursor);
}

void TfrmAboutDlg::lbWebLinkClick()
{
    // Without a mail handler nothing happens, and nothing is said about it.
    m_opener(QUrl(mailLink()));
}

void TfrmAboutDlg::BtnOkClick()
{
    accept();
}
