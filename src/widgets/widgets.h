// Small widget variants the windows need beyond the toolkit's own.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <functional>

namespace sw {

// A text line that acts as a link: underlined, in the desktop's link colour, a pointing hand,
// and `onClick` on a click. Tab reaches it; Enter or Space then follows it.
class LinkLabel : public QLabel {
  public:
    explicit LinkLabel(QWidget* parent = nullptr);
    std::function<void()> onClick;

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
};

// A single-line edit that, once asked to, keeps its selection when the focus moves on to
// another control, so the selection stays visible.
class DataLineEdit : public QLineEdit {
  public:
    explicit DataLineEdit(QWidget* parent = nullptr) : QLineEdit(parent) {}
    void SetKeepSelection(bool keep) { keepSelection_ = keep; }
    bool KeepSelection() const { return keepSelection_; }

  protected:
    void focusOutEvent(QFocusEvent* event) override;

  private:
    bool keepSelection_ = false;
};

// Group boxes whose caption stands in the frame's top line, the frame broken behind it, so
// that controls placed just below the caption keep clear of the frame.
class CaptionInFrameStyle : public QProxyStyle {
  public:
    CaptionInFrameStyle() = default;
    void drawComplexControl(ComplexControl control, const QStyleOptionComplex* option,
                            QPainter* painter, const QWidget* widget) const override;
    QRect subControlRect(ComplexControl control, const QStyleOptionComplex* option, SubControl sub,
                         const QWidget* widget) const override;
};

// A font by the name the layout gives, with fallbacks of similar width for desktops that lack
// it. `pixels` is the character height at 96 dots per inch.
QFont LayoutFont(const QString& family, int pixels, bool bold = false);

}  // namespace sw
