#include "app/qt/about_box.h"

#include <QApplication>
#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QScreen>
#include <QTest>

#include <gtest/gtest.h>

#include "support/qt/layout_checks.h"
#include "views/theme_colours.h"

namespace quillet {
namespace {

QString programDate()
{
    QFileInfo program(QCoreApplication::applicationFilePath());
    return QLocale().toString(program.lastModified().date(), QLocale::ShortFormat);
}

TEST(AboutBox, VersionIsTheBuildsVersionWithTheProgramDateOnceAfterTwoShows)
{
    AboutBox box;
    for (int show = 0; show < 2; ++show) {
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
        box.okButton->click();
        EXPECT_FALSE(box.isVisible());
    }
    EXPECT_EQ(box.versionLabel->text(),
              QStringLiteral("Version: " QUILLET_VERSION " (") + programDate() + QStringLiteral(")"));
    EXPECT_EQ(box.versionLabel->text().count(QStringLiteral(" (")), 1);
}

TEST(AboutBox, ShowsTheProductTextsInAFixedSizeDialog)
{
    AboutBox box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About"));
    EXPECT_GE(box.width(), 277);
    EXPECT_GE(box.height(), 153);
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    EXPECT_EQ(box.productNameLabel->text(), QStringLiteral("Product Name: Quillet"));
    EXPECT_EQ(box.copyrightLabel->text(), QStringLiteral("Copyright (C) 2026 the Quillet developers"));
    EXPECT_EQ(box.commentsLabel->text(), QStringLiteral("Comments: Welcome to"));
    EXPECT_TRUE(box.commentsLabel->wordWrap());
    EXPECT_EQ(box.linkLabel->text(), QStringLiteral("quillet.dovrel.org"));
    EXPECT_NE(box.linkLabel->palette().color(QPalette::WindowText),
              box.commentsLabel->palette().color(QPalette::WindowText))
        << "the link stands out from the text";
    EXPECT_FALSE(box.iconLabel->pixmap().isNull()) << "the program icon comes from the resources";
    EXPECT_TRUE(box.okButton->isDefault());
}

// Laid out for the fonts of the machine: with the application font and larger ones every text
// shows whole and the link follows the comment on its line.
class AboutBoxFonts : public test::ScaledApplicationFont {};

TEST_P(AboutBoxFonts, EveryTextShowsWholeAndTheLinkFollowsTheComment)
{
    AboutBox box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    test::expectLaidOutWhole(box);

    QRect comment = box.commentsLabel->geometry();
    QRect link = box.linkLabel->geometry();
    EXPECT_EQ(box.commentsLabel->heightForWidth(comment.width()), box.commentsLabel->fontMetrics().height())
        << "the comment keeps to one line";
    EXPECT_GE(link.left(),
              comment.left() + box.commentsLabel->fontMetrics().horizontalAdvance(box.commentsLabel->text()));
    EXPECT_EQ(link.top(), comment.top());

    // The icon beside the name and version, the copyright and comment under them, OK under the
    // frame and in its middle.
    EXPECT_LT(box.iconLabel->geometry().right(), box.productNameLabel->x());
    EXPECT_EQ(box.productNameLabel->x(), box.versionLabel->x());
    EXPECT_LT(box.productNameLabel->geometry().bottom(), box.versionLabel->y());
    EXPECT_LT(box.versionLabel->geometry().bottom(), box.copyrightLabel->y());
    EXPECT_LT(box.copyrightLabel->geometry().bottom(), comment.top());
    EXPECT_EQ(box.copyrightLabel->x(), comment.left());
    EXPECT_LT(box.frame->geometry().bottom(), box.okButton->y());
    EXPECT_NEAR(box.okButton->geometry().center().x(), box.frame->geometry().center().x(), 1);
}

INSTANTIATE_TEST_SUITE_P(AtTheApplicationFontAndLarger, AboutBoxFonts, ::testing::Values(1.0, 1.5, 2.0));

std::uint32_t rgbOf(const QColor& colour)
{
    return colour.rgb() & 0xFFFFFF;
}

// The navy link stood on a dark window at 1.9:1; it is readable in light and dark themes.
TEST(AboutBox, TheLinkIsReadableInALightAndADarkTheme)
{
    const QPalette usual = QApplication::palette();
    QPalette dark = usual;
    dark.setColor(QPalette::Window, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::WindowText, QColor(0xEE, 0xEE, 0xEE));
    for (const QPalette& palette : {usual, dark}) {
        QApplication::setPalette(palette);
        AboutBox box;
        QPalette shown = box.linkLabel->palette();
        EXPECT_GE(contrastRatio(rgbOf(shown.color(QPalette::WindowText)), rgbOf(shown.color(QPalette::Window))), 4.5);
    }
    QApplication::setPalette(usual);
}

TEST(AboutBox, OpensCentredOnTheScreenAtEveryShow)
{
    AboutBox box;
    QRect area = QApplication::primaryScreen()->availableGeometry();
    QList<QRect> shown;
    for (int show = 0; show < 2; ++show) {
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
        shown.append(box.geometry());
        box.okButton->click();
    }
    EXPECT_EQ(shown[1], shown[0]);
    EXPECT_LE((shown[0].center() - area.center()).manhattanLength(), 2);
}

TEST(AboutBox, OkClosesWithAccepted)
{
    AboutBox box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST(AboutBox, TheLinkUnderlinesOverItselfAndGoesPlainOverThePanel)
{
    AboutBox box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_FALSE(box.linkLabel->font().underline());

    QTest::mouseMove(box.linkLabel, box.linkLabel->rect().center());
    EXPECT_TRUE(box.linkLabel->font().underline());
    QTest::mouseMove(box.frame, QPoint(250, 100));
    EXPECT_FALSE(box.linkLabel->font().underline());
}

TEST(AboutBox, ClickingTheLinkOpensTheWebSiteAndKeepsTheDialogOpen)
{
    AboutBox box;
    QList<QUrl> opened;
    box.setUrlOpener([&](const QUrl& url) { opened.append(url); });
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));

    QTest::mouseClick(box.linkLabel, Qt::LeftButton, {}, box.linkLabel->rect().center());
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.first(), QUrl(QStringLiteral("https://quillet.dovrel.org")));
    EXPECT_TRUE(box.isVisible());

    QTest::mouseClick(box.linkLabel, Qt::RightButton, {}, box.linkLabel->rect().center());
    EXPECT_EQ(opened.size(), 1) << "only the left button follows the link";
}

}  // namespace
}  // namespace quillet
