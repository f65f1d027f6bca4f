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

QPixmap programIcon(int side, qreal pixelRatio)
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

TAboutBox::TAboutBox(QWidget* parent)
    : QDialog(parent, Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint
                          | Qt::WindowCloseButtonHint),
      urlOpener_([](const QUrl& url) { QDesktopServices::openUrl(url); })
{
    setObjectName(QStringLiteral("AboutBox"));
    setWindowTitle(QStringLiteral("About"));
    setFont(dialogFont());
    setFixedSize(277, 153);
    createControls();
    completeVersion();
}

QUrl TAboutBox::webAddress()
{
    return QUrl(QStringLiteral("https://quillet.dovrel.org"));
}

void TAboutBox::setUrlOpener(std::function<void(const QUrl&)> opener)
{
    urlOpener_ = std::move(opener);
}

void TAboutBox::createControls()
{
    // A box frame drawn sunken is the groove of a lowered outer and a raised inner bevel.
    Panel1 = new QFrame(this);
    Panel1->setFrameStyle(QFrame::Box | QFrame::Sunken);
    Panel1->setGeometry(8, 8, 265, 105);
    Panel1->setMouseTracking(true);
    Panel1->installEventFilter(this);

    ProgramIcon = new QLabel(Panel1);
    ProgramIcon->setGeometry(8, 13, 24, 24);
    ProgramIcon->setPixmap(programIcon(24, devicePixelRatioF()));

    ProductName = labelAt(Panel1, QStringLiteral("Product Name: Quillet"), 40, 8);
    Version = labelAt(Panel1, QStringLiteral("Version: 1.01"), 40, 32);
    Copyright = labelAt(Panel1, QStringLiteral("Copyright (C) 2026 the Quillet developers"), 8, 56);
    Comments = labelAt(Panel1, QStringLiteral("Comments: Welcome to"), 8, 80);
    Comments->setWordWrap(true);

    Label1 = new QLabel(webAddress().host(), Panel1);
    QFont linkFont = dialogFont();
    Label1->setFont(linkFont);
    QPalette linkPalette = Label1->palette();
    linkPalette.setColor(QPalette::WindowText, QColor(0, 0, 128));
    Label1->setPalette(linkPalette);
    Label1->setCursor(Qt::PointingHandCursor);
    Label1->setMouseTracking(true);
    Label1->installEventFilter(this);
    // The link follows the comment on its line even when the platform font is wider than the
    // dialog's design font.
    int commentWidth = Comments->fontMetrics().horizontalAdvance(Comments->text());
    Label1->move(std::max(127, 8 + commentWidth + 4), 80);
    Label1->adjustSize();
    Comments->setFixedWidth(Label1->x() - 8 - 2);

    OKButton = new QPushButton(QStringLiteral("OK"), this);
    OKButton->setGeometry(95, 122, 75, 25);
    OKButton->setDefault(true);
    connect(OKButton, &QPushButton::clicked, this, &QDialog::accept);
}

void TAboutBox::completeVersion()
{
    QFileInfo program(QCoreApplication::applicationFilePath());
    QDateTime modified = program.lastModified();
    if (!modified.isValid()) return;
    QString date = QLocale().toString(modified.date(), QLocale::ShortFormat);
    Version->setText(Version->text() + QStringLiteral(" (") + date + QStringLiteral(")"));
    Version->adjustSize();
}

void TAboutBox::setLinkUnderlined(bool underlined)
{
    QFont font = Label1->font();
    if (font.underline() == underlined) return;
    font.setUnderline(underlined);
    Label1->setFont(font);
    Label1->adjustSize();
}

void TAboutBox::Label1Click()
{
    urlOpener_(webAddress());
}

bool TAboutBox::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == Label1 && event->type() == QEvent::MouseMove) {
        setLinkUnderlined(true);
        return true;
    }
    if (watched == Label1 && event->type() == QEvent::MouseButtonRelease) {
        auto* mouse = static_cast<QMouseEvent*>(event);
        if (mouse->button() == Qt::LeftButton && Label1->rect().contains(mouse->position().toPoint()))
            Label1Click();
        return true;
    }
    if (watched == Panel1 && event->type() == QEvent::MouseMove)
        setLinkUnderlined(false);
    return QDialog::eventFilter(watched, event);
}

void TAboutBox::showEvent(QShowEvent* event)
{
    // Centred on the screen, not over the main window.
    QScreen* target = parentWidget() != nullptr ? parentWidget()->screen() : screen();
    if (target != nullptr) move(target->geometry().center() - rect().center());
    QDialog::showEvent(event);
}

}  // namespace quillet
