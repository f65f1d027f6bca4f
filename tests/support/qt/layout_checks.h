#pragma once
// Checks that a laid-out window shows its controls whole, whatever fonts and scale it runs with.
#include <QAbstractButton>
#include <QApplication>
#include <QFont>
#include <QGroupBox>
#include <QLabel>
#include <QString>
#include <QWidget>

#include <gtest/gtest.h>

namespace quillet::test {

inline QString shownText(const QWidget* widget)
{
    if (const auto* label = qobject_cast<const QLabel*>(widget)) return label->text();
    if (const auto* button = qobject_cast<const QAbstractButton*>(widget)) return button->text();
    if (const auto* group = qobject_cast<const QGroupBox*>(widget)) return group->title();
    return widget->objectName();
}

// A label or button has at least the room its text needs; a group at least the room its caption
// and items need.
inline void expectTextFits(const QWidget* widget)
{
    bool isText = qobject_cast<const QLabel*>(widget) || qobject_cast<const QAbstractButton*>(widget);
    QSize needed = isText ? widget->sizeHint() : widget->minimumSizeHint();
    if (const auto* label = qobject_cast<const QLabel*>(widget); label && label->wordWrap())
        needed = QSize(label->fontMetrics().horizontalAdvance(label->text()), label->heightForWidth(label->width()));
    EXPECT_GE(widget->width(), needed.width()) << "\"" << shownText(widget).toStdString() << "\" is cut off";
    EXPECT_GE(widget->height(), needed.height()) << "\"" << shownText(widget).toStdString() << "\" is cut off";
}

// Under `root`: every label, button and group shows its text whole, every control lies inside
// its parent, and no two controls of one parent overlap.
inline void expectLaidOutWhole(const QWidget& root)
{
    const QList<QWidget*> children = root.findChildren<QWidget*>(Qt::FindDirectChildrenOnly);
    QList<QWidget*> shown;
    for (QWidget* child : children)
        if (!child->isHidden() && !child->isWindow()) shown.append(child);
    for (int i = 0; i < shown.size(); ++i) {
        QWidget* child = shown[i];
        const std::string name = shownText(child).toStdString();
        if (qobject_cast<QLabel*>(child) || qobject_cast<QAbstractButton*>(child) || qobject_cast<QGroupBox*>(child))
            expectTextFits(child);
        EXPECT_TRUE(root.rect().contains(child->geometry())) << "\"" << name << "\" reaches out of its parent";
        for (int j = i + 1; j < shown.size(); ++j)
            EXPECT_FALSE(child->geometry().intersects(shown[j]->geometry()))
                << "\"" << name << "\" overlaps \"" << shownText(shown[j]).toStdString() << "\"";
        expectLaidOutWhole(*child);
    }
}

// Runs each test with the application font scaled by the test's parameter, and gives the font
// back afterwards.
class ScaledApplicationFont : public ::testing::TestWithParam<double> {
protected:
    void SetUp() override
    {
        QFont font = QApplication::font();
        font.setPointSizeF(font.pointSizeF() * GetParam());
        QApplication::setFont(font);
    }
    void TearDown() override { QApplication::setFont(applicationFont_); }

private:
    QFont applicationFont_ = QApplication::font();
};

}  // namespace quillet::test
