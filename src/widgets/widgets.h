// Small widget variants the windows need beyond the toolkit's own.
#pragma once

#include <QLabel>
#include <QLineEdit>
#include <QProxyStyle>
#include <QTextEdit>
#include <functional>

namespace sw {

// A text line that acts as a link: underlined, a pointing hand, and `onClick` on a click.
class LinkLabel : public QLabel {
  public:
    explicit LinkLabel(QWidget* parent = nullptr);
    std::function<void()> onClick;

  protected:
    void mouseReleaseEvent(QMouseEvent* event) override;
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

// A rich-text field that, like any field, hides its selection while another control has the
// focus, unless asked to go on showing it: then the selected text stands in the highlighted
// text colour (white) on the highlight colour, as when the field has the focus.
class PreviewEdit : public QTextEdit {
  public:
    explicit PreviewEdit(QWidget* parent = nullptr);
    void ShowSelectionUnfocused(bool show);
    bool SelectionShownUnfocused() const { return showUnfocused_; }

  private:
    bool showUnfocused_ = false;
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
