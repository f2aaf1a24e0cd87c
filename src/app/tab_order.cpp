// The order in which the Tab key visits the main window's controls. The about button and the web
// link, which have no mnemonics, come last.
#include "app/main_window.h"

namespace sw {

void TForm1::SetTabOrder() {
    const QList<QWidget*> order = {BarTextInput,    BarTextOut,      PrintButtonClick,
                                   CopyButtonClick, MakeButtonClick, BarCodeOut,
                                   Short,           Normal,          Tall,
                                   PointSize,       TipCheckBox,     OptionalChecksum,
                                   Radio25,         Radio39,         Radio25i,
                                   RadioPostNet,    RadioUPCA,       PrintLabels,
                                   SpeedButton3,    StaticText3};
    for (qsizetype i = 1; i < order.size(); ++i) setTabOrder(order[i - 1], order[i]);
}

}  // namespace sw
