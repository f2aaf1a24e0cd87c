// The top panel: type, height and point size choices, the tips, about and help buttons.
#include "app/layout.h"
#include "app/main_window.h"
#include "widgets/pictures.h"

namespace sw {

using namespace layout;

void TForm1::BuildPanel() {
    auto* client = new QWidget(this);
    client->setObjectName(QStringLiteral("Client"));
    client->setGeometry(8, 8, 400, 374);

    Panel1 = new QFrame(client);
    Panel1->setFrameStyle(QFrame::Panel | QFrame::Raised);
    Panel1->setLineWidth(1);
    Panel1->setAutoFillBackground(true);
    QPalette face = Panel1->palette();
    face.setColor(QPalette::Window, face.color(QPalette::Button));
    Panel1->setPalette(face);
    Panel1->setGeometry(0, 0, 400, 131);

    Label2 = new QLabel(
        QStringLiteral("Control the height, width, type, and options of your bar code"), Panel1);
    Label2->setFont(LayoutFont(kFormFont, 11, true));
    Place(Label2, 28, 6, 343, 13);

    GroupBox1 = new QGroupBox(QStringLiteral(" Type of bar code "), Panel1);
    GroupBox1->setToolTip(QStringLiteral("Which bar code symbology to use"));
    Place(GroupBox1, 8, 20, 384, 34, false);
    Radio25 = Radio(GroupBox1, Info(BarCodeType::Type25).caption, Info(BarCodeType::Type25).hint);
    Place(Radio25, 7, 15, 50, 14);
    Radio25i =
        Radio(GroupBox1, Info(BarCodeType::Type25i).caption, Info(BarCodeType::Type25i).hint);
    Place(Radio25i, 68, 15, 93, 14);
    Radio39 = Radio(GroupBox1, Info(BarCodeType::Type39).caption, Info(BarCodeType::Type39).hint);
    Place(Radio39, 178, 15, 42, 14);
    Radio39->setChecked(true);
    RadioPostNet =
        Radio(GroupBox1, Info(BarCodeType::TypePost).caption, Info(BarCodeType::TypePost).hint);
    Place(RadioPostNet, 235, 15, 66, 14);
    RadioUPCA =
        Radio(GroupBox1, Info(BarCodeType::TypeUPC).caption, Info(BarCodeType::TypeUPC).hint);
    Place(RadioUPCA, 315, 15, 58, 14);

    Label1 = new QLabel(Text(Info(BarCodeType::Type39).description), Panel1);
    Label1->setToolTip(QStringLiteral("Information about the currently selected bar code type"));
    Place(Label1, 8, 61, 191, 13);

    SpeedButton1 = PictureButton(Panel1, QStringLiteral("&Tips"), pictures::Tips());
    Place(SpeedButton1, 232, 56, 60, 30, false);
    SpeedButton3 = PictureButton(Panel1, QString(), pictures::About());
    SpeedButton3->setToolTip(QStringLiteral("About this program"));
    // Without a caption it has no mnemonic; the Tab key reaches it instead.
    SpeedButton3->setFocusPolicy(Qt::TabFocus);
    Place(SpeedButton3, 295, 56, 30, 30, false);
    SpeedButton2 = PictureButton(Panel1, QStringLiteral("&Help"), pictures::Help());
    Place(SpeedButton2, 328, 56, 60, 30, false);

    FontSize = new QGroupBox(QStringLiteral(" Size of bar code "), Panel1);
    FontSize->setToolTip(QStringLiteral("Select the font size to use"));
    Place(FontSize, 8, 86, 148, 39, false);
    Short = Radio(FontSize, "Short", "Short height to width ratio");
    Place(Short, 6, 15, 45, 17);
    Normal = Radio(FontSize, "Norm.", "Standard height to width ratio");
    Place(Normal, 54, 15, 48, 17);
    Normal->setChecked(true);
    Tall = Radio(FontSize, "Tall", "Tall height to width ratio");
    Place(Tall, 103, 15, 40, 17);

    GroupBox2 = new QGroupBox(QStringLiteral(" Point size "), Panel1);
    Place(GroupBox2, 158, 86, 73, 39, false);
    PointSize = new QComboBox(GroupBox2);
    PointSize->setEditable(true);
    PointSize->setInsertPolicy(QComboBox::NoInsert);
    PointSize->setCompleter(nullptr);  // a typed size stands as typed; the list only offers
    PointSize->addItems({"18", "20", "22", "24", "26", "28", "30", "36", "40", "48", "50", "52",
                         "54", "58", "60", "72"});
    PointSize->setCurrentIndex(3);
    Place(PointSize, 8, 13, 57, 21, false);

    TipCheckBox = new QCheckBox(QStringLiteral("Tip of the day?"), Panel1);
    TipCheckBox->setToolTip(QStringLiteral("Show Tip of the day after each start up?"));
    TipCheckBox->setChecked(true);
    Place(TipCheckBox, 235, 90, 97, 17);
    OptionalChecksum = new QCheckBox(QStringLiteral("Add Optional Checksum?"), Panel1);
    OptionalChecksum->setToolTip(
        QStringLiteral("Add in the optional checksum value as the last character"));
    Place(OptionalChecksum, 235, 108, 140, 14);
}

}  // namespace sw
