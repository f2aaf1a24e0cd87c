#include "app/main_window.h"

namespace sw {

// Completed by the sample work.
void TForm1::PrintButtonClickClick() {
    BarTextInput->setFocus();
}

}  // namespace sw
