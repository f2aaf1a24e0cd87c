#include "app/main_window.h"

namespace sw {

// Completed by the clipboard work.
void TForm1::CopyButtonClickClick() {
    BarTextInput->setFocus();
}

}  // namespace sw
