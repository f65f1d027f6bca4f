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
    TAboutBox box;
    for (int show = 0; show < 2; ++show) {
        box.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
        box.OKButton->click();
        EXPECT_FALSE(box.isVisible());
    }
    EXPECT_EQ(box.Version->text(), QStringLiteral("Version: 1.01 (") + programDate() + QStringLiteral(")"));
    EXPECT_EQ(box.Version->text().count(QStringLiteral(" (")), 1);
}

TEST(AboutBox, ShowsTheProductTextsInAFixedSizeDialog)
{
    TAboutBox box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("About"));
    EXPECT_EQ(box.size(), QSize(277, 153));
    EXPECT_EQ(box.minimumSize(), box.maximumSize());
    EXPECT_EQ(box.ProductName->text(), QStringLiteral("Product Name: Quillet"));
    EXPECT_EQ(box.Comments->text(), QStringLiteral("Comments: Welcome to"));
    EXPECT_TRUE(box.Comments->wordWrap());
    EXPECT_EQ(box.Label1->text(), QStringLiteral("quillet.dovrel.org"));
    EXPECT_EQ(box.Label1->palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_FALSE(box.ProgramIcon->pixmap().isNull()) << "the program icon comes from the resources";
    EXPECT_EQ(box.OKButton->geometry(), QRect(95, 122, 75, 25));
    EXPECT_TRUE(box.OKButton->isDefault());
}

TEST(AboutBox, OkClosesWithAccepted)
{
    TAboutBox box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    QTest::keyClick(&box, Qt::Key_Return);
    EXPECT_FALSE(box.isVisible());
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST(AboutBox, TheLinkUnderlinesOverItselfAndGoesPlainOverThePanel)
{
    TAboutBox box;
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));
    EXPECT_FALSE(box.Label1->font().underline());

    QTest::mouseMove(box.Label1, box.Label1->rect().center());
    EXPECT_TRUE(box.Label1->font().underline());
    QTest::mouseMove(box.Panel1, QPoint(250, 100));
    EXPECT_FALSE(box.Label1->font().underline());
}

TEST(AboutBox, ClickingTheLinkOpensTheWebSiteAndKeepsTheDialogOpen)
{
    TAboutBox box;
    QList<QUrl> opened;
    box.setUrlOpener([&](const QUrl& url) { opened.append(url); });
    box.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&box));

    QTest::mouseClick(box.Label1, Qt::LeftButton, {}, box.Label1->rect().center());
    ASSERT_EQ(opened.size(), 1);
    EXPECT_EQ(opened.first(), QUrl(QStringLiteral("https://quillet.dovrel.org")));
    EXPECT_TRUE(box.isVisible());

    QTest::mouseClick(box.Label1, Qt::RightButton, {}, box.Label1->rect().center());
    EXPECT_EQ(opened.size(), 1) << "only the left button follows the link";
}

}  // namespace
}  // namespace quillet
