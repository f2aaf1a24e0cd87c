// A print surface that records every call instead of printing, and a print dialog that hands
// one out (or is cancelled).
#pragma once

#include <QString>
#include <memory>
#include <vector>

#include "platform/print_surface.h"

namespace sw::testing {

struct DrawnText {
    int x;
    int y;
    QString face;
    int pointSize;
    QString text;

    bool operator==(const DrawnText&) const = default;
};

class RecordingPrintSurface : public platform::PrintSurface {
  public:
    int dpiX = 600;
    int dpiY = 600;
    bool failBegin = false;
    bool failEnd = false;

    std::vector<QString> calls;  // "title", "begin", "draw", "end" in the order they came
    QString title = QStringLiteral("(unset)");
    std::vector<DrawnText> drawn;

    int ResolutionX() const override { return dpiX; }
    int ResolutionY() const override { return dpiY; }
    void SetTitle(const QString& t) override {
        calls.push_back(QStringLiteral("title"));
        title = t;
    }
    bool BeginDocument() override {
        calls.push_back(QStringLiteral("begin"));
        return !failBegin;
    }
    void DrawText(int x, int y, const QString& face, int pointSize, const QString& text) override {
        calls.push_back(QStringLiteral("draw"));
        drawn.push_back({x, y, face, pointSize, text});
    }
    bool EndDocument() override {
        calls.push_back(QStringLiteral("end"));
        return !failEnd;
    }
    QString ErrorText() const override {
        return failBegin ? QStringLiteral("cannot begin") : QStringLiteral("cannot end");
    }
};

// Passes every call on to a surface that outlives it.
class ForwardingPrintSurface : public platform::PrintSurface {
  public:
    explicit ForwardingPrintSurface(platform::PrintSurface& target) : target_(target) {}
    int ResolutionX() const override { return target_.ResolutionX(); }
    int ResolutionY() const override { return target_.ResolutionY(); }
    void SetTitle(const QString& t) override { target_.SetTitle(t); }
    bool BeginDocument() override { return target_.BeginDocument(); }
    void DrawText(int x, int y, const QString& face, int pointSize, const QString& text) override {
        target_.DrawText(x, y, face, pointSize, text);
    }
    bool EndDocument() override { return target_.EndDocument(); }
    QString ErrorText() const override { return target_.ErrorText(); }

  private:
    platform::PrintSurface& target_;
};

// Hands out a surface that records into `surface`, or nothing when `cancel` is set, as if the
// user had cancelled.
class FakePrintDialog : public platform::PrintDialog {
  public:
    RecordingPrintSurface surface;
    bool cancel = false;
    int shown = 0;

    std::unique_ptr<platform::PrintSurface> Execute(QWidget*) override {
        ++shown;
        if (cancel)
            return nullptr;
        return std::make_unique<ForwardingPrintSurface>(surface);
    }
};

}  // namespace sw::testing
