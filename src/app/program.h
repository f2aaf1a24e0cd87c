// The program's windows for one run: the main window, then the dialogs, created hidden in
// their fixed order, each once, owned by the main window.
#pragma once

#include "app/main_window.h"

namespace sw {

class Program {
  public:
    explicit Program(platform::Desktop& desktop);

    TForm1 Form1;
    TWarningBox* WarningBox;
    TForm2* Form2;
    TTip* Tip;
    TForm3* Form3;
    TForm4* Form4;

    // Places the main window in the centre of its screen (its first place on a first run).
    void CentreMainWindow();
};

}  // namespace sw
