// Program-wide control of tooltips: an off switch and the time a tooltip stays visible. One
// controller watches the tooltip requests of every widget of the application.
#pragma once

#include <QObject>

namespace sw::platform {

class ToolTipController : public QObject {
  public:
    // Starts watching the application's widgets (a QApplication must exist).
    explicit ToolTipController(QObject* parent = nullptr);
    ~ToolTipController() override;

    void SetEnabled(bool enabled) { enabled_ = enabled; }
    bool Enabled() const { return enabled_; }

    // Milliseconds a tooltip stays before it hides itself; negative: the toolkit's default.
    void SetHideDelay(int milliseconds) { hideDelay_ = milliseconds; }
    int HideDelay() const { return hideDelay_; }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    bool enabled_ = true;
    int hideDelay_ = -1;
};

}  // namespace sw::platform
