// The desktop's font configuration, set up on a second thread while the application starts.
//
// The first text a window measures makes the toolkit's font database set up the desktop's font
// configuration: its files read and parsed, the font caches mapped, several milliseconds. That
// work depends on nothing the application does, so it runs on another core while the
// application loads its platform plug-in and connects to the display; the database then finds
// it done.
#pragma once

#include <thread>

namespace sw::platform {

class FontSetupAhead {
  public:
    FontSetupAhead();
    ~FontSetupAhead();
    FontSetupAhead(const FontSetupAhead&) = delete;
    FontSetupAhead& operator=(const FontSetupAhead&) = delete;

    // Waits until the set-up is done: called before anything can need a font, so that the
    // configuration is never set up twice at once.
    void FinishFontSetup();

  private:
    std::thread thread_;
};

}  // namespace sw::platform
