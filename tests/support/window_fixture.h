// A program (main window and dialogs) on a recording desktop with a temporary documents folder.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <QImage>
#include <QTextCursor>
#include <QTextDocument>
#include <memory>

#include "app/program.h"
#include "dialogs/label_dialog.h"
#include "dialogs/tip_of_the_day.h"
#include "dialogs/update_reminder.h"
#include "platform/ini_file.h"
#include "support/fake_desktop.h"
#include "support/temp_documents.h"

namespace sw::testing {

// A picture of black bars on white: greys only, white at its corner, and some black.
inline ::testing::AssertionResult BlackOnWhite(const QImage& picture) {
    bool black = false;
    for (int y = 0; y < picture.height(); ++y) {
        for (int x = 0; x < picture.width(); ++x) {
            const QColor c = picture.pixelColor(x, y);
            if (c.red() != c.green() || c.green() != c.blue()) {
                return ::testing::AssertionFailure()
                       << "colour " << c.name().toStdString() << " at " << x << "," << y;
            }
            black = black || c.red() < 64;
        }
    }
    if (picture.pixelColor(0, 0) != QColor(Qt::white))
        return ::testing::AssertionFailure() << "the ground is not white";
    if (!black)
        return ::testing::AssertionFailure() << "no black bars";
    return ::testing::AssertionSuccess();
}

// A settings file with the tip sections only, as the set-up leaves it.
inline const QByteArray kTipsOnly =
    "[TipoftheDay]\nEnabled=1\nPosition=0\nMaximum=2\n"
    "[Tips]\n0=Tip zero\n1=Tip one\n2=Tip two\n";

class WindowTest : public ::testing::Test {
  protected:
    WindowTest() { desktop.documents = docs.documents; }

    // Creates the program's windows and shows the main window, active, at a known place.
    void Create() {
        program = std::make_unique<Program>(desktop);
        form().move(120, 60);
        form().show();
        QApplication::setActiveWindow(&form());
        QApplication::processEvents();
    }
    // Creates the windows and runs the start-up sequence.
    void Start() {
        Create();
        form().FormActivate();
    }
    // Ends the run as closing the window does.
    void Close() {
        form().close();
        program.reset();
    }

    TForm1& form() { return program->Form1; }
    platform::IniFile ini() { return platform::IniFile(docs.SettingsPath()); }
    QWidget* Focus() const { return QApplication::focusWidget(); }

    // The face and point size of the preview's character at `position`.
    QFont PreviewCharFont(int position) {
        QTextCursor cursor(form().BarCodeOut->document());
        cursor.setPosition(position + 1);
        QFont font = form().BarCodeOut->document()->defaultFont();
        const QTextCharFormat format = cursor.charFormat();
        if (format.hasProperty(QTextFormat::FontFamilies)) {
            font.setFamilies(format.fontFamilies().toStringList());
        }
        if (format.hasProperty(QTextFormat::FontPointSize)) {
            font.setPointSizeF(format.fontPointSize());
        }
        return font;
    }

    // What the preview shows.
    QImage PreviewPicture() { return form().BarCodeOut->viewport()->grab().toImage(); }

    TempDocuments docs;
    FakeDesktop desktop;
    std::unique_ptr<Program> program;
};

}  // namespace sw::testing
