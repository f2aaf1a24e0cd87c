#include "dialogs/warning_box.h"

#include <gtest/gtest.h>
#include <QCheckBox>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>

namespace sw {
namespace {

struct Expected {
    QWidget* widget;
    QRect place;  // as laid out; width is the least the control may have
    QString text;
    int pixelSize;
    bool bold;
};

QString TextOf(QWidget* w) {
    if (auto* label = qobject_cast<QLabel*>(w))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(w))
        return button->text();
    return {};
}

// The width the control's text needs (a check box's includes its indicator).
int TextWidth(QWidget* w) {
    if (qobject_cast<QCheckBox*>(w))
        return w->sizeHint().width();
    return w->fontMetrics().horizontalAdvance(TextOf(w));
}

TEST(WarningBox, LayoutTextsAndNothingClipped) {
    TWarningBox box;
    EXPECT_EQ(box.windowTitle(), QStringLiteral("Clip Board Warning"));
    EXPECT_EQ(box.size(), QSize(295, 191));
    EXPECT_EQ(box.minimumSize(), QSize(295, 191));
    EXPECT_EQ(box.maximumSize(), QSize(295, 191));
    EXPECT_FALSE(box.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_FALSE(box.windowFlags() & Qt::WindowMinimizeButtonHint);

    const std::vector<Expected> controls = {
        {box.Label1, {112, 3, 44, 20}, "Note!", 16, true},
        {box.Label2, {8, 24, 276, 16}, "We copy both the bar code font and data to the", 13, false},
        {box.Label3, {8, 40, 256, 16}, "clip board, but not all applications", 13, false},
        {box.Label4,
         {8, 56, 284, 16},
         "support pasting font information. Once you paste",
         13,
         false},
        {box.Label5,
         {8, 72, 276, 16},
         "this bar code into your application, if you do not",
         13,
         false},
        {box.Label6,
         {8, 88, 275, 16},
         "see a bar code (you only see the data) you will",
         13,
         false},
        {box.Label7, {8, 104, 259, 16}, "need to highlight the bar code data and then", 13, false},
        {box.Label8, {8, 120, 216, 16}, "select one of our bar code fonts for it.", 13, false},
        {box.NoWarningBox, {48, 140, 185, 17}, "Don't show this warning box again", 13, false},
        {box.OKBtn, {103, 158, 75, 25}, "OK", 13, false},
    };
    for (const Expected& c : controls) {
        SCOPED_TRACE(c.text.toStdString());
        const QRect g = c.widget->geometry();
        EXPECT_EQ(TextOf(c.widget), c.text);
        EXPECT_EQ(g.topLeft(), c.place.topLeft());
        EXPECT_EQ(g.height(), c.place.height());
        EXPECT_GE(g.width(), c.place.width());
        EXPECT_LE(g.right(), 294) << "reaches past the client area";
        EXPECT_LE(TextWidth(c.widget), g.width()) << "text would be clipped";
        EXPECT_EQ(c.widget->font().pixelSize(), c.pixelSize);
        EXPECT_EQ(c.widget->font().bold(), c.bold);
    }
    EXPECT_EQ(box.OKBtn->width(), 75);
}

TEST(WarningBox, StartsUncheckedAndOkIsTheDefault) {
    TWarningBox box;
    EXPECT_FALSE(box.NoWarningBox->isChecked());
    EXPECT_TRUE(box.OKBtn->isDefault());
    box.OKBtn->click();
    EXPECT_EQ(box.result(), QDialog::Accepted);
}

TEST(WarningBox, KeepsItsCheckBoxBetweenShowings) {
    TWarningBox box;
    box.show();
    box.NoWarningBox->setChecked(true);
    box.OKBtn->click();
    EXPECT_FALSE(box.isVisible());
    box.show();
    EXPECT_TRUE(box.NoWarningBox->isChecked());
    box.close();
}

TEST(WarningBox, IsCentredOnTheScreenWhenShown) {
    QWidget owner;
    owner.setGeometry(10, 10, 200, 100);
    TWarningBox box(&owner);
    box.move(0, 0);
    box.show();
    const QRect screen = QGuiApplication::primaryScreen()->geometry();
    EXPECT_EQ(box.pos(),
              screen.topLeft() + QPoint((screen.width() - 295) / 2, (screen.height() - 191) / 2));
    box.close();
}

}  // namespace
}  // namespace sw
