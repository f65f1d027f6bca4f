#include "app/qt/about_box.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QFrame>
#include <QLabel>
#include <QLocale>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

namespace quillet {
namespace {

QString programDate()
{
    QFileInfo program(QCoreApplication::applicationFilePath());
    return QLocale().toString(program.lastModified().date(), QLocale::ShortFormat);
}

TEST(AboutBox, VersionCarriesTheProgramDateOnceAfterTwoShows)
{
    AboutBox box;
    for (int show = 0; show < 2; ++show) {
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
        box.okButton->click();
        EXPECT_FALSE(box.isVisible());
    }
    EXPECT_EQ(box.versionLabel->text(), QStringLiteral("Version: 1.01 (") + programDate() + QStringLiteral(")"));
    EXPECT_EQ(box.versionLabel->text().count(QStringLiteral(" (")), 1);
}

TEST(AboutBox, ShowsTheProductTextsInAFixedSizeDialog)
{
    AboutBox box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(box.size(), QSize(277, 153));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    EXPECT_EQ(box.productNameLabel->text(), QStringLiteral("Product Name: Quillet"));
    EXPECT_EQ(box.commentsLabel->text(), QStringLiteral("Comments: Welcome to"));
    EXPECT_TRUE(box.commentsLabel->wordWrap());
    EXPECT_EQ(box.linkLabel->text(), QStringLiteral("quillet.dovrel.org"));
    EXPECT_EQ(box.linkLabel->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_FALSE(box.iconLabel->pixmap().isNull()) << "the program icon comes from the resources";
    EXPECT_EQ(box.okButton->geometry(), QRect(95, 122, 75, 25));
    EXPECT_TRUE(box.okButton->isDefault());
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
