#include "app/qt/about_box.h"

#include <cmath>

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFontMetricsF>
#include <QFrame>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QSvgRenderer>
#include <QVBoxLayout>

#include "app/qt/app_resources.h"
#include "search/qt/dialog_parts.h"
#include "views/theme_colours.h"

namespace quillet {

namespace {

QFont dialogFont()
{
    if (QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif"))) return QFont(QStringLiteral("MS Sans Serif"), 8);
    return QApplication::font();
}

QPixmap renderProgramIcon(int side, qreal pixelRatio)
{
    loadAppResources();
    QPixmap pixmap(QSize(side, side) * pixelRatio);
    pixmap.fill(Qt::transparent);
    QSvgRenderer renderer(QStringLiteral(":/icons/quillet.svg"));
    QPainter painter(&pixmap);
    renderer.render(&painter);
    painter.end();
    pixmap.setDevicePixelRatio(pixelRatio);
    return pixmap;
}

}  // namespace

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint | Qt::WindowCloseButtonHint),
      urlOpener_([](const QUrl& url) { QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(tr("About"));
    setFont(dialogFont());
    createControls();
    completeVersion();
    layOut();
}

QUrl AboutBox::webAddress()
{
    return QUrl(QStringLiteral("https://quillet.dovrel.org"));
}

void AboutBox::setUrlOpener(std::function<void(const QUrl&)> opener)
{
    urlOpener_ = std::move(opener);
}

void AboutBox::createControls()
{
    // A box frame drawn sunken is the groove of a lowered outer and a raised inner bevel.
    frame = new QFrame(this);
    frame->setFrameStyle(QFrame::Box | QFrame::Sunken);
    frame->setMouseTracking(true);
    frame->installEventFilter(this);

    iconLabel = new QLabel(frame);
    iconLabel->setFixedSize(24, 24);
    iconLabel->setPixmap(renderProgramIcon(24, devicePixelRatioF()));

    productNameLabel = new QLabel(tr("Product Name: Quillet"), frame);
    versionLabel = new QLabel(tr("Version: %1").arg(QStringLiteral(QUILLET_VERSION)), frame);
    copyrightLabel = new QLabel(tr("Copyright (C) 2026 the Quillet developers"), frame);
    commentsLabel = new QLabel(tr("Comments: Welcome to"), frame);
    commentsLabel->setWordWrap(true);

    linkLabel = new QLabel(webAddress().host(), frame);
    QFont linkFont = dialogFont();
    linkLabel->setFont(linkFont);
    QPalette linkPalette = linkLabel->palette();
    Theme theme = themeOf(linkPalette.color(QPalette::Window).rgb() & 0xFFFFFF,
                          linkPalette.color(QPalette::WindowText).rgb() & 0xFFFFFF);
    linkPalette.setColor(QPalette::WindowText, QColor::fromRgb(static_cast<QRgb>(linkColour(theme))));
    linkLabel->setPalette(linkPalette);
    linkLabel->setCursor(Qt::PointingHandCursor);
    linkLabel->setMouseTracking(true);
    linkLabel->installEventFilter(this);

    okButton = new QPushButton(tr("OK"), this);
    okButton->setMinimumSize(75, 25);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
}

// In the frame: the icon beside the product name and version, the copyright under them, and
// the comment with the link following it on its line; the OK button centred under the frame.
// The design's sizes (277 x 153 in all, lines 24 pixels apart) are minimums: the box grows to
// what the fonts need.
void AboutBox::layOut()
{
    auto* lines = new QGridLayout(frame);
    lines->setContentsMargins(6, 6, 6, 0);
    lines->setHorizontalSpacing(8);
    lines->setVerticalSpacing(0);
    for (int row = 0; row < 4; ++row) lines->setRowMinimumHeight(row, 24);
    lines->addWidget(iconLabel, 0, 0, 2, 1, Qt::AlignCenter);
    lines->addWidget(productNameLabel, 0, 1, Qt::AlignTop);
    lines->addWidget(versionLabel, 1, 1, Qt::AlignTop);
    lines->addWidget(copyrightLabel, 2, 0, 1, 2, Qt::AlignTop);
    auto* commentLine = new QHBoxLayout;
    commentLine->setSpacing(4);
    // The comment keeps to one line, however the word wrap would break it.
    QFontMetricsF metrics(commentsLabel->font());
    commentsLabel->setMinimumWidth(static_cast<int>(std::ceil(metrics.horizontalAdvance(commentsLabel->text()))) + 1);
    commentLine->addWidget(commentsLabel, 0, Qt::AlignTop);
    commentLine->addWidget(linkLabel, 0, Qt::AlignTop);
    commentLine->addStretch(1);
    lines->addLayout(commentLine, 3, 0, 1, 2);
    lines->setColumnStretch(1, 1);
    frame->setMinimumSize(265, 105);

    auto* layout = new QVBoxLayout(this);
    layout->setSizeConstraint(QLayout::SetFixedSize);
    layout->setContentsMargins(8, 8, 4, 6);
    layout->setSpacing(9);
    layout->addWidget(frame);
    layout->addWidget(okButton, 0, Qt::AlignHCenter);
}

void AboutBox::completeVersion()
{
    QFileInfo program(QCoreApplication::applicationFilePath());
    QDateTime modified = program.lastModified();
    if (!modified.isValid()) return;
    QString date = QLocale().toString(modified.date(), QLocale::ShortFormat);
    versionLabel->setText(versionLabel->text() + QStringLiteral(" (") + date + QStringLiteral(")"));
}

void AboutBox::setLinkUnderlined(bool underlined)
{
    QFont font = linkLabel->font();
    if (font.underline() == underlined) return;
    font.setUnderline(underlined);
    linkLabel->setFont(font);
}

void AboutBox::openWebSite()
{
    urlOpener_(webAddress());
}

bool AboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == linkLabel && event->type() == QEvent::MouseMove) {
        setLinkUnderlined(true);
        return true;
    }
    if (watched == linkLabel && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && linkLabel->rect().contains(mouse->position().toPoint())) openWebSite();
        return true;
    }
    if (watched == frame && event->type() == QEvent::MouseMove) setLinkUnderlined(false);
    return QDialog::eventFilter(watched, event);
}

void AboutBox::setVisible(bool visible)
{
    if (visible && !isVisible()) centreOnScreen(*this);
    QDialog::setVisible(visible);
}

}  // namespace quillet
