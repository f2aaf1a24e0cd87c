// Printing as the sample page needs it: a page surface that knows its resolution and draws
// single lines of text at device-pixel positions, and the print dialog that hands one out.
#pragma once

#include <QString>
#include <memory>

class QWidget;

namespace sw::platform {

class PrintSurface {
  public:
    virtual ~PrintSurface() = default;

    // The printer's resolution in device pixels per inch, across and down.
    virtual int ResolutionX() const = 0;
    virtual int ResolutionY() const = 0;

    // The job's title as the print queue shows it; set before BeginDocument.
    virtual void SetTitle(const QString& title) = 0;

    // Starts the document. False when the printer or output file cannot be opened;
    // ErrorText() then says why.
    virtual bool BeginDocument() = 0;

    // Draws `text` in one piece, without wrapping, with the top-left corner of its line box at
    // (x, y) device pixels from the top-left of the printable area, in `face` at `pointSize`.
    virtual void DrawText(int x, int y, const QString& face, int pointSize,
                          const QString& text) = 0;

    // Ends the document and sends the page. False when the job could not be completed.
    virtual bool EndDocument() = 0;

    virtual QString ErrorText() const = 0;
};

// The standard print dialog. The printer it configures is kept between showings, so the
// user's choices stay as they were left.
class PrintDialog {
  public:
    virtual ~PrintDialog() = default;

    // Shows the dialog modally. Returns a surface on the chosen printer, or nothing when the
    // user cancelled. The surface is valid until the next call.
    virtual std::unique_ptr<PrintSurface> Execute(QWidget* owner) = 0;
};

}  // namespace sw::platform
