#include "app/main_window.h"
#include "dialogs/about_box.h"

namespace sw {

void TForm1::SpeedButton3Click() {
    desktop().ShowModal(Form2);
    BarTextInput->setFocus();
}

}  // namespace sw
