// SPDX-FileCopyrightText: 2026 The YorvSaldrix developers
//
// SPDX-License-Identifier: GPL-3.0-or-later

// The wizard's controls: fixed places and sizes in a window of fixed size, spread where a text needs
// more room than the design gives it.
#include "wizard/saldrixwizard.h"

#include "wizard/fixedlayout.h"
#include "wizard/pagemanager.h"
#include "wizard/updown.h"

#include <QCheckBox>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QStackedWidget>
#include <QToolButton>

#include <algorithm>
#include <initializer_list>

namespace {

QWidget *panel(QWidget *parent, const QString &name, int y, int height)
{
    auto *widget = new QWidget(parent);
    widget->setObjectName(name);
    widget->setGeometry(0, y, 512, height);
    return widget;
}

QFrame *rule(QWidget *parent, const QString &name, const QRect &geometry)
{
    auto *line = new QFrame(parent);
    line->setObjectName(name);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setGeometry(geometry);
    return line;
}

QPushButton *button(QWidget *parent, const QString &name, const QString &text, const QRect &geometry)
{
    auto *result = new QPushButton(text, parent);
    result->setObjectName(name);
    result->setGeometry(geometry);
    // Only the default button answers Enter: a focused button that took over as default would let
    // Enter on the last page (where Next is disabled) press whatever button got the focus.
    result->setAutoDefault(false);
    return result;
}

QLineEdit *edit(QWidget *parent, const QString &name, const QString &text, int x, int y, int width)
{
    auto *result = new QLineEdit(text, parent);
    result->setObjectName(name);
    result->setGeometry(x, y, width, 21);
    return result;
}

QCheckBox *checkBox(QWidget *parent, const QString &name, const QString &text, int x, int y)
{
    auto *result = new QCheckBox(text, parent);
    result->setObjectName(name);
    result->move(x, y);
    result->adjustSize();
    return result;
}

QPixmap picture(const QString &name)
{
    return QPixmap(QStringLiteral(":/images/wizard/%1.png").arg(name));
}

} // namespace

QLabel *TfrmSaldrixWizard::addLabel(QWidget *parent, const QString &name, const QString &text, int x, int y)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(name);
    label->move(x, y);
    label->adjustSize();
    return label;
}

void TfrmSaldrixWizard::addPageImage(QWidget *page, int index)
{
    auto *image = new QLabel(page);
    image->setObjectName(QStringLiteral("Image%1").arg(index));
    image->setGeometry(8, 8, 48, 48);
    image->setPixmap(picture(image->objectName()));
}

void TfrmSaldrixWizard::createControls()
{
    QWidget *PanelUp = panel(this, QStringLiteral("PanelUp"), 0, 57);
    PanelUp->setAutoFillBackground(true);
    QPalette white = PanelUp->palette();
    white.setColor(QPalette::Window, white.color(QPalette::Base));
    PanelUp->setPalette(white);
    QLabel *lbTopFast = addLabel(PanelUp, QStringLiteral("lbTopFast"),
        tr("You can modify the existing or use the default Exports value."), 8, 8);
    QFont bold = lbTopFast->font();
    bold.setBold(true);
    lbTopFast->setFont(bold);
    lbTopFast->adjustSize();
    lbTopVar = addLabel(PanelUp, QStringLiteral("lbTopVar"), QString(), 24, 32);
    auto *ImageTop = new QLabel(PanelUp);
    ImageTop->setObjectName(QStringLiteral("ImageTop"));
    ImageTop->setGeometry(436, 5, 49, 49);
    ImageTop->setPixmap(picture(QStringLiteral("ImageTop")));

    rule(this, QStringLiteral("Bevel1"), QRect(0, 57, 512, 3));

    NoteBook1 = new QStackedWidget(this);
    NoteBook1->setObjectName(QStringLiteral("NoteBook1"));
    NoteBook1->setGeometry(0, 60, 512, 241);
    NoteBook1->addWidget(createFileNamePage());
    NoteBook1->addWidget(createArtistTitlePage());
    NoteBook1->addWidget(createExtraLinesPage());
    NoteBook1->addWidget(createSeparatorLinePage());
    NoteBook1->addWidget(createDonePage());

    QWidget *PanelLine = panel(this, QStringLiteral("PanelLine"), 301, 13);
    rule(PanelLine, QStringLiteral("BevelLine"), QRect(0, 5, 512, 3));

    QWidget *PanelDown = panel(this, QStringLiteral("PanelDown"), 314, 48);
    BtnBack = button(PanelDown, QStringLiteral("BtnBack"), tr("< &Back"), QRect(263, 8, 75, 25));
    BtnNext = button(PanelDown, QStringLiteral("BtnNext"), tr("&Next >"), QRect(340, 8, 75, 25));
    BtnClose = button(PanelDown, QStringLiteral("BtnClose"), tr("Close"), QRect(416, 8, 75, 25));
    BtnNext->setDefault(true);

    PageManager1 = new PageManager(NoteBook1, BtnBack, BtnNext, this);
    PageManager1->setObjectName(QStringLiteral("PageManager1"));
}

QWidget *TfrmSaldrixWizard::createFileNamePage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("Page0FileName"));
    addPageImage(page, 0);
    edFileName = edit(page, QStringLiteral("edFileName"), QStringLiteral("C:\\Winnt\\CDPLayer.txt"), 89, 104, 233);
    edFileName->setAccessibleName(tr("Output file name"));
    BtnBrowse = button(page, QStringLiteral("BtnBrowse"), QStringLiteral("..."), QRect(325, 104, 23, 21));
    // The button shows only "...", and it takes the keyboard like any other button.
    BtnBrowse->setAccessibleName(tr("Browse for the output file"));
    BtnBrowse->setToolTip(BtnBrowse->accessibleName());
    addLabel(page, QStringLiteral("Label4"),
        tr("You can also specify some additional extentions like M3U, PLS or PLF."), 89, 136);
    return page;
}

QWidget *TfrmSaldrixWizard::createArtistTitlePage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("Page1ArtistTitle"));
    addPageImage(page, 1);
    addLabel(page, QStringLiteral("Label3"), tr("Use the arrow to change the position."), 168, 88);
    UpDown1 = new UpDown(page);
    UpDown1->setObjectName(QStringLiteral("UpDown1"));
    UpDown1->setGeometry(239, 112, 33, 16);
    UpDown1->setRange(0, 100);
    UpDown1->setAccessibleName(tr("Order of artist and title"));
    UpDown1->leftButton()->setAccessibleName(tr("Swap artist and title, left arrow"));
    UpDown1->rightButton()->setAccessibleName(tr("Swap artist and title, right arrow"));
    lbArtist = addLabel(page, QStringLiteral("lbArtist"), tr("Artist"), 184, 138);
    edSeparator = edit(page, QStringLiteral("edSeparator"), QStringLiteral(" - "), 247, 134, 17);
    edSeparator->setMaxLength(3);
    edSeparator->setAccessibleName(tr("Separator between artist and title"));
    lbTitle = addLabel(page, QStringLiteral("lbTitle"), tr("Title"), 304, 138);
    addLabel(page, QStringLiteral("Label11"), tr("Separator"), 233, 161);
    describeOrder();
    return page;
}

QWidget *TfrmSaldrixWizard::createExtraLinesPage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("Page2VolumGenreNumtracks"));
    addPageImage(page, 2);
    addLabel(page, QStringLiteral("Label14"), tr("VOLUME is something like this: [2a96f9b]"), 160, 32);
    cbVolume = checkBox(page, QStringLiteral("cbVolume"), QStringLiteral("Volume=[2a96f9b]"), 160, 48);
    addLabel(page, QStringLiteral("Label16"), tr("GENRE is defined in some entry section."), 160, 96);
    cbGenre = checkBox(page, QStringLiteral("cbGenre"), QStringLiteral("Genre=Techno"), 160, 112);
    addLabel(page, QStringLiteral("Label19"), tr("NUMTRACKS is the the number of tracks."), 160, 160);
    cbNumTracks = checkBox(page, QStringLiteral("cbNumTracks"), QStringLiteral("NumTracks=15"), 160, 176);
    return page;
}

QWidget *TfrmSaldrixWizard::createSeparatorLinePage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("Page3SeparatorLine"));
    addPageImage(page, 3);
    addLabel(page, QStringLiteral("Label6"), tr("Please type in not letter character."), 176, 104);
    edLongSeparator = edit(page, QStringLiteral("edLongSeparator"), QString(35, u'='), 151, 136, 209);
    edLongSeparator->setAccessibleName(tr("Separator line between CDs"));
    return page;
}

QWidget *TfrmSaldrixWizard::createDonePage()
{
    auto *page = new QWidget;
    page->setObjectName(QStringLiteral("Page4Done"));
    addPageImage(page, 4);
    auto *lbLook = new QLabel(page);
    lbLook->setObjectName(QStringLiteral("lbLook"));
    lbLook->setGeometry(204, 60, 105, 98);
    lbLook->setText(QStringList { QStringLiteral("Artist - Title"), QStringLiteral("Volim=2296f9b"),
        QStringLiteral("Genre=Reggae"), QStringLiteral("NumTracks=17"), QString(14, u'='),
        QStringLiteral("0. Zode Daverav"), QStringLiteral("1. VudavOvuvi") }
                        .join(u'\n'));
    lbLook->setAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    QFont courier(QStringLiteral("Courier New"));
    courier.setStyleHint(QFont::Monospace);
    courier.setPixelSize(11);
    lbLook->setFont(courier);
    lbLook->setAutoFillBackground(true);
    QPalette white = lbLook->palette();
    white.setColor(QPalette::Window, Qt::white);
    white.setColor(QPalette::WindowText, Qt::black);
    lbLook->setPalette(white);
    addLabel(page, QStringLiteral("Label12"), tr("You can use the back button to change your selections."), 123, 184);
    BtnDone = button(page, QStringLiteral("BtnDone"), tr("Done"), QRect(416, 208, 75, 25));
    return page;
}

void TfrmSaldrixWizard::fitToFont()
{
    constexpr int Gap = 8;

    // The sample shows all its lines, around the place it was designed at.
    auto *lbLook = findChild<QLabel *>(QStringLiteral("lbLook"));
    const QFontMetrics look = lbLook->fontMetrics();
    const QStringList lines = lbLook->text().split(u'\n');
    int lookWidth = 0;
    for (const QString &line : lines)
        lookWidth = std::max(lookWidth, look.horizontalAdvance(line));
    QRect sample(0, 0, std::max(lbLook->width(), lookWidth + Gap),
        std::max(lbLook->height(), int(lines.size()) * look.lineSpacing() + Gap));
    sample.moveCenter(lbLook->geometry().center());
    lbLook->setGeometry(sample);

    // The top line takes the room of the longest of them, whichever page shows.
    int topWidth = 0;
    for (const QString &line : topLines())
        topWidth = std::max(topWidth, lbTopVar->fontMetrics().horizontalAdvance(line));
    lbTopVar->resize(std::max(lbTopVar->width(), topWidth), lbTopVar->height());

    // Each text gets the room it needs; where it needs more than the design gives, the window
    // spreads. A button's and a field's text needs its line's height and a little room around it.
    const auto needs = [](const QWidget *control) -> QSize {
        const QFontMetrics metrics = control->fontMetrics();
        if (const auto *label = qobject_cast<const QLabel *>(control))
            return label->text().isEmpty() ? QSize() : label->sizeHint();
        if (qobject_cast<const QCheckBox *>(control) != nullptr)
            return control->sizeHint();
        if (const auto *push = qobject_cast<const QPushButton *>(control))
            return { metrics.horizontalAdvance(QString(push->text()).remove(u'&')) + 8, metrics.height() + 4 };
        if (qobject_cast<const QLineEdit *>(control) != nullptr)
            return { 0, metrics.height() + 4 };
        return {};
    };
    const QScreen *screen = this->screen();
    growToFit(this, QSize(DesignWidth, 362),
        screen != nullptr ? screen->availableSize() : QSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX), needs);
}
