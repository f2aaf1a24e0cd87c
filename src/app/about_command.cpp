#include "app/main_window.h"

namespace sw {

// Completed by the about work.
void TForm1::SpeedButton3Click() {
    BarTextInput->setFocus();
}

}  // namespace sw
