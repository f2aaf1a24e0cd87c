#include "app/main_window.h"

namespace sw {

// Completed by the labels work.
void TForm1::PrintLabelsClick() {
    BarTextInput->setFocus();
}

}  // namespace sw
