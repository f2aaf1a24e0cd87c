// Below the panel: the data field, the command buttons, the output field, the preview and the
// web link.
#include "app/layout.h"
#include "app/main_window.h"
#include "output/vendor.h"
#include "widgets/pictures.h"

namespace sw {

using namespace layout;

void TForm1::BuildDataArea() {
    QWidget* client = Panel1->parentWidget();
    const QFont labelFont = LayoutFont(kFormFont, 11, true);
    const QFont editFont = LayoutFont(kFormFont, 15);

    StaticText4 =
        new QLabel(QStringLiteral("Enter the data to be converted into a bar code:"), client);
    StaticText4->setFont(labelFont);
    Place(StaticText4, 0, 138, 273, 17);

    BarTextInput = new DataLineEdit(client);
    BarTextInput->setFont(editFont);
    BarTextInput->setToolTip(QStringLiteral("Type in the data you want to convert to a bar code"));
    Place(BarTextInput, 0, 153, 397, 23, false);

    MakeButtonClick = CommandButton(
        client, QStringLiteral("&Make"),
        QStringLiteral("Create a bar code from the data you entered above"), pictures::Make());
    Place(MakeButtonClick, 0, 181, 70, 30, false);
    CopyButtonClick = CommandButton(
        client, QStringLiteral("&Copy"),
        QStringLiteral("Copy this data string to the clip board, to paste in other programs"),
        pictures::Copy());
    Place(CopyButtonClick, 105, 181, 70, 30, false);
    PrintLabels =
        CommandButton(client, QStringLiteral("&Labels"),
                      QStringLiteral("Print sheets of bar code labels"), pictures::Labels());
    Place(PrintLabels, 211, 181, 70, 30, false);
    PrintButtonClick = CommandButton(
        client, QStringLiteral("&Sample"),
        QStringLiteral("Print a sample page of this bar code at several different point sizes"),
        pictures::Sample());
    Place(PrintButtonClick, 317, 181, 80, 30, false);

    StaticText5 = new QLabel(
        QStringLiteral("This is the string to use with %1's bar code fonts:").arg(vendor::kMaker),
        client);
    StaticText5->setFont(labelFont);
    Place(StaticText5, 0, 222, 303, 17);

    BarTextOut = new QLineEdit(client);
    BarTextOut->setFont(editFont);
    BarTextOut->setToolTip(
        QStringLiteral("Use this string with our bar code fonts to print a bar code"));
    Place(BarTextOut, 0, 237, 397, 22, false);

    StaticText6 = new QLabel(QStringLiteral("Sample bar code font:"), client);
    StaticText6->setFont(labelFont);
    Place(StaticText6, 0, 266, 129, 17);

    BarCodeOut = new PreviewEdit(client);
    BarCodeOut->setAcceptRichText(true);
    BarCodeOut->setTabChangesFocus(true);
    BarCodeOut->setFont(LayoutFont(kFormFont, 10));
    BarCodeOut->setToolTip(QStringLiteral("This is what your bar code will look like"));
    Place(BarCodeOut, 0, 282, 397, 59, false);

    // Right of the preview's caption, shown only while the preview is drawn scaled down.
    PreviewScale = new QLabel(client);
    PreviewScale->setFont(LayoutFont(kFormFont, 11));
    PreviewScale->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    PreviewScale->setGeometry(140, 266, 257, 17);
    PreviewScale->hide();
    BarCodeOut->onScaleChange = [this](qreal scale) {
        PreviewScale->setText(QStringLiteral("Shown at %1% of its size").arg(qRound(scale * 100)));
        PreviewScale->setVisible(scale < 1);
    };

    StaticText3 = new LinkLabel(client);
    StaticText3->setText(vendor::kWebAddress);
    QFont linkFont = LayoutFont(kFormFont, 11);
    linkFont.setUnderline(true);
    StaticText3->setFont(linkFont);
    StaticText3->setAlignment(Qt::AlignHCenter | Qt::AlignVCenter);
    Place(StaticText3, 140, 352, 124, 17);
    if (StaticText3->width() > 124)
        StaticText3->move(202 - StaticText3->width() / 2, 352);
}

}  // namespace sw
