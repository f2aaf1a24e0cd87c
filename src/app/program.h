// The program's windows for one run: the main window, and the dialogs, each made once, hidden,
// when first used, and owned by the main window.
#pragma once

#include "app/main_window.h"

namespace sw {

class Program {
  public:
    explicit Program(platform::Desktop& desktop);

    TForm1 Form1;
    Deferred<TWarningBox>& WarningBox;
    Deferred<TForm2>& Form2;
    Deferred<TTip>& Tip;
    Deferred<TForm3>& Form3;
    Deferred<TForm4>& Form4;

    // Places the main window in the centre of its screen (its first place on a first run).
    void CentreMainWindow();
};

}  // namespace sw
