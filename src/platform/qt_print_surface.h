// A print surface on a QPrinter, drawing with a QPainter. Works with any output the QPrinter
// is set to: a printer, or a PDF file (QPrinter::PdfFormat).
#pragma once

#include <QPainter>
#include <QPrinter>

#include "platform/print_surface.h"

namespace sw::platform {

class QtPrintSurface : public PrintSurface {
  public:
    // The printer must outlive the surface.
    explicit QtPrintSurface(QPrinter& printer);
    ~QtPrintSurface() override;

    int ResolutionX() const override;
    int ResolutionY() const override;
    void SetTitle(const QString& title) override;
    bool BeginDocument() override;
    void DrawText(int x, int y, const QString& face, int pointSize, const QString& text) override;
    bool EndDocument() override;
    QString ErrorText() const override { return error_; }

  private:
    QPrinter& printer_;
    QPainter painter_;
    QString error_;
};

// The standard print dialog (QPrintDialog) on one high-resolution QPrinter that lives as long
// as this object, so that the chosen printer and its settings persist between showings.
class QtPrintDialog : public PrintDialog {
  public:
    QtPrintDialog();
    ~QtPrintDialog() override;

    std::unique_ptr<PrintSurface> Execute(QWidget* owner) override;

  private:
    QPrinter printer_;
};

}  // namespace sw::platform
