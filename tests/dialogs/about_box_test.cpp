// The about box: its texts, its two links and where it appears.
#include "dialogs/about_box.h"

#include <gtest/gtest.h>

#include <QLabel>
#include <QRegularExpression>
#include <QTest>
#include <QUrl>
#include <QUrlQuery>

#include "output/vendor.h"
#include "support/fake_desktop.h"

namespace sw {
namespace {

class AboutBox : public ::testing::Test {
  protected:
    void SetUp() override {
        mainWindow.move(250, 140);
        box = std::make_unique<TForm2>(desktop, &mainWindow, [this] { log << "focus"; });
    }
    void TearDown() override { box.reset(); }

    testing::FakeDesktop desktop;
    QWidget mainWindow;
    QStringList log;
    std::unique_ptr<TForm2> box;
};

TEST_F(AboutBox, ShowsProductVersionAndVendor) {
    EXPECT_NE(box->CurVersion->text(), "V8.5");  // set when the box is shown, not before
    box->show();
    EXPECT_EQ(box->windowTitle(), "About");
    EXPECT_EQ(box->StaticText7->text(), "Stripewright");
    EXPECT_TRUE(box->StaticText7->font().bold());
    EXPECT_EQ(box->CurVersion->text(), "V8.5");
    EXPECT_TRUE(box->CurVersion->font().underline());
    EXPECT_EQ(box->CurVersion->toolTip(), "Click to check the web for an update");
    EXPECT_EQ(box->StaticText8->text(), vendor::kCopyright);
    EXPECT_EQ(box->StaticText8->toolTip(), "Click to visit the web site product page");
    const QStringList vendorLines = {vendor::kName, vendor::kStreet, vendor::kTown, vendor::kPhone,
                                     vendor::kFax};
    const QLabel* lines[] = {box->StaticText1, box->StaticText2, box->StaticText3, box->StaticText4,
                             box->StaticText5};
    for (int i = 0; i < 5; ++i) EXPECT_EQ(lines[i]->text(), vendorLines[i]);
    for (const QLabel* plain : lines) EXPECT_TRUE(plain->toolTip().isEmpty());
    box->hide();
}

TEST_F(AboutBox, KeepsItsSizeAndCutsNoTextOff) {
    box->show();
    EXPECT_EQ(box->height(), 160);
    EXPECT_GE(box->width(), 198);
    EXPECT_EQ(box->minimumSize(), box->maximumSize());
    for (const QLabel* label : box->findChildren<QLabel*>()) {
        SCOPED_TRACE(label->objectName().toStdString());
        EXPECT_LE(label->geometry().right(), box->width() - 1);
        EXPECT_LE(label->geometry().bottom(), box->height() - 1);
        if (label != box->Image1) {
            EXPECT_GE(label->width(), label->sizeHint().width());
        }
    }
    box->hide();
}

TEST_F(AboutBox, PlacesItselfBesideTheMainWindowEachTime) {
    box->show();
    EXPECT_EQ(box->pos(), QPoint(361, 249));
    box->hide();
    mainWindow.move(10, 20);
    box->show();
    EXPECT_EQ(box->pos(), QPoint(121, 129));
    EXPECT_EQ(box->CurVersion->text(), "V8.5");
    box->hide();
}

TEST_F(AboutBox, VersionLinkChecksForAnUpdate) {
    box->show();
    QTest::mouseClick(box->CurVersion, Qt::LeftButton);
    ASSERT_EQ(desktop.addressesOpened.size(), 1);
    const QUrl url(desktop.addressesOpened[0]);
    EXPECT_EQ(url.path(), "/file/update.php");
    const QUrlQuery query(url);
    EXPECT_EQ(query.queryItems().size(), 1);
    EXPECT_TRUE(
        QRegularExpression("^[a-z0-9]{8}-8\\.5$").match(query.queryItemValue("v")).hasMatch())
        << url.toString().toStdString();
    EXPECT_EQ(log, QStringList({"focus"}));
    EXPECT_TRUE(box->isVisible());  // the box stays open
    box->hide();
}

TEST_F(AboutBox, CopyrightLinkOpensTheProductPage) {
    box->show();
    QTest::mouseClick(box->StaticText8, Qt::LeftButton);
    ASSERT_EQ(desktop.addressesOpened.size(), 1);
    EXPECT_EQ(desktop.addressesOpened[0], vendor::ProductPageAddress());
    EXPECT_TRUE(QUrl(desktop.addressesOpened[0]).path().endsWith("/stripewright.htm"));
    EXPECT_EQ(log, QStringList({"focus"}));
    box->hide();
}

TEST_F(AboutBox, OnlyLeftClicksOnTheLinksOpenAnything) {
    box->show();
    QTest::mouseClick(box->CurVersion, Qt::RightButton);
    QTest::mouseClick(box->StaticText1, Qt::LeftButton);
    QTest::mouseClick(box->Image1, Qt::LeftButton);
    EXPECT_TRUE(desktop.addressesOpened.isEmpty());
    EXPECT_TRUE(desktop.documentsOpened.empty());
    box->hide();
}

}  // namespace
}  // namespace sw
