#include "app/qt/about_box.h"

#include <algorithm>

#include <QApplication>
#include <QCoreApplication>
#include <QDesktopServices>
#include <QFileInfo>
#include <QFontDatabase>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QPixmap>
#include <QPushButton>
#include <QScreen>
#include <QSvgRenderer>

#include "app/qt/app_resources.h"

namespace quillet {

namespace {

QFont dialogFont()
{
    if (QFontDatabase::hasFamily(QStringLiteral("MS Sans Serif")))
        return QFont(QStringLiteral("MS Sans Serif"), 8);
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

QLabel* labelAt(QWidget* parent, const QString& text, int x, int y)
{
    auto* label = new QLabel(text, parent);
    label->move(x, y);
    label->adjustSize();
    return label;
}

}  // namespace

AboutBox::AboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint),
      urlOpener_([](const QUrl& url) { QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("aboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setFont(dialogFont());
    setFixedSize(277, 153);
    createControls();
    completeVersion();
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
    frame->setGeometry(8, 8, 265, 105);
    frame->setMouseTracking(true);
    frame->installEventFilter(this);

    iconLabel = new QLabel(frame);
    iconLabel->setGeometry(8, 13, 24, 24);
    iconLabel->setPixmap(renderProgramIcon(24, devicePixelRatioF()));

    productNameLabel = labelAt(frame, QStringLiteral("Product Name: Quillet"), 40, 8);
    versionLabel = labelAt(frame, QStringLiteral("Version: 1.01"), 40, 32);
    copyrightLabel = labelAt(frame, QStringLiteral("Copyright (C) 2026 the Quillet developers"), 8, 56);
    commentsLabel = labelAt(frame, QStringLiteral("Comments: Welcome to"), 8, 80);
    commentsLabel->setWordWrap(true);

    linkLabel = new QLabel(webAddress().host(), frame);
    QFont linkFont = dialogFont();
    linkLabel->setFont(linkFont);
    QPalette linkPalette = linkLabel->palette();
    linkPalette.setColor(QPalette::WindowText, QColor(0, 0, 128));
    linkLabel->setPalette(linkPalette);
    linkLabel->setCursor(Qt::PointingHandCursor);
    linkLabel->setMouseTracking(true);
    linkLabel->installEventFilter(this);
    // The link follows the comment on its line even when the platform font is wider than the
    // dialog's design font.
    int commentWidth = commentsLabel->fontMetrics().horizontalAdvance(commentsLabel->text());
    linkLabel->move(std::max(127, 8 + commentWidth + 4), 80);
    linkLabel->adjustSize();
    commentsLabel->setFixedWidth(linkLabel->x() - 8 - 2);

    okButton = new QPushButton(QStringLiteral("OK"), this);
    okButton->setGeometry(95, 122, 75, 25);
    okButton->setDefault(true);
    connect(okButton, &QPushButton::clicked, this, &QDialog::accept);
}

void AboutBox::completeVersion()
{
    QFileInfo program(QCoreApplication::applicationFilePath());
    QDateTime modified = program.lastModified();
    if (!modified.isValid()) return;
    QString date = QLocale().toString(modified.date(), QLocale::ShortFormat);
    versionLabel->setText(versionLabel->text() + QStringLiteral(" (") + date + QStringLiteral(")"));
    versionLabel->adjustSize();
}

void AboutBox::setLinkUnderlined(bool underlined)
{
    QFont font = linkLabel->font();
    if (font.underline() == underlined) return;
    font.setUnderline(underlined);
    linkLabel->setFont(font);
    linkLabel->adjustSize();
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
        if (mouse->button() == Qt::LeftButton && linkLabel->rect().contains(mouse->position().toPoint()))
            openWebSite();
        return true;
    }
    if (watched == frame && event->type() == QEvent::MouseMove)
        setLinkUnderlined(false);
    return QDialog::eventFilter(watched, event);
}

void AboutBox::showEvent(QShowEvent* event)
{
    // Centred on the screen, not over the main window.
    QScreen* target = parentWidget() != nullptr ? parentWidget()->screen() : screen();
    if (target != nullptr) move(target->geometry().center() - rect().center());
    QDialog::showEvent(event);
}

}  // namespace quillet
