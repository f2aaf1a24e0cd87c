#include "output/sample_page.h"

#include "output/vendor.h"

namespace sw {
namespace {

const QString kArial = QStringLiteral("Arial");

// Draws a line of text at the label column.
void Line(platform::PrintSurface& surface, const PageUnits& units, int line, int pointSize,
          const QString& text) {
    surface.DrawText(units.labelColumn(), units.lineTop(line), kArial, pointSize, text);
}

QString PointsLabel(int pointSize) {
    return QStringLiteral("%1 points:").arg(pointSize);
}

}  // namespace

PageUnits UnitsForResolution(int dpiX, int dpiY) {
    PageUnits units{};
    units.tenth = dpiX / 10;
    // 12 * dpiY / 72 to the nearest whole number (halves away from zero).
    units.height = (12 * dpiY + 36) / 72;
    // The largest whole number strictly below 1.2 * height.
    units.pitch = (12 * units.height - 1) / 10;
    return units;
}

QString PrintSamplePage(platform::PrintSurface& surface, const SamplePageInput& input) {
    surface.SetTitle(QString());
    const int dpiX = surface.ResolutionX();
    const int dpiY = surface.ResolutionY();
    if (dpiX <= 0 || dpiY <= 0) {
        return QStringLiteral("The printer reports no resolution (%1 x %2 dpi)")
            .arg(dpiX)
            .arg(dpiY);
    }
    const PageUnits units = UnitsForResolution(dpiX, dpiY);

    if (!surface.BeginDocument())
        return surface.ErrorText();

    Line(surface, units, 2, 24, vendor::kName);
    Line(surface, units, 4, 14, vendor::kStreet + QStringLiteral(", ") + vendor::kTown);
    Line(surface, units, 5, 12, vendor::kPhoneAndFax);
    Line(surface, units, 6, 12, vendor::kWebAddress);
    Line(surface, units, 12, 12,
         QStringLiteral("Data: ") + input.data + QStringLiteral("    Typeface: ") + input.face);
    int line = 13;
    if (input.checksum) {
        Line(surface, units, line, 12, QStringLiteral("Includes checksum"));
        ++line;
    }
    Line(surface, units, line, 12,
         QStringLiteral("String to use with bar code fonts: ") + input.output);
    line += 2;

    const auto row = [&](int pointSize) {
        Line(surface, units, line, 10, PointsLabel(pointSize));
        surface.DrawText(units.sampleColumn(), units.lineTop(line), input.face, pointSize,
                         input.output);
    };
    const int tallExtra = input.tall ? 2 : 0;
    const BarCodeTypeInfo& info = Info(input.type);
    if (info.fixedSize) {
        row(info.pointSize);
    } else if (info.digitsUnderBars) {
        // A UPC-A row with its digits is 1.77 em from its line's top to the digits' foot: the
        // next row starts below that. Tall draws UPC-A in its normal face, so it adds nothing.
        for (int k = 0; k < 6; ++k) {
            row(40 + 4 * k);
            line += 5 + (k + 1) / 2;
        }
    } else {
        for (int k = 0; k < 6; ++k) {
            row(16 + 4 * k);
            line += 2 + k / 2 + tallExtra;
        }
    }

    if (!surface.EndDocument())
        return surface.ErrorText();
    return QString();
}

void PrintSampleCommand(platform::PrintDialog& printDialog, QWidget* owner, bool barCodeMade,
                        const SamplePageInput& input,
                        const std::function<void(const QString&)>& showErrorInPreview,
                        const std::function<void(const QString&)>& reportFailure) {
    if (!barCodeMade) {
        showErrorInPreview(kPrintBeforeMakeMessage);
        return;
    }
    const std::unique_ptr<platform::PrintSurface> surface = printDialog.Execute(owner);
    if (!surface)
        return;
    const QString failure = PrintSamplePage(*surface, input);
    if (!failure.isEmpty() && reportFailure) {
        reportFailure(QStringLiteral("The sample page could not be printed: %1").arg(failure));
    }
}

}  // namespace sw
