// The preview field: a rich-text field that shows its text black on white in every theme, on
// lines that never wrap. Text wider than the field scrolls sideways; text taller than the field
// is drawn scaled down until its whole height fits, so that a bar code always shows from the top
// of its bars to the bottom of its digits. Only the drawing is scaled: the text keeps its faces
// and sizes, which is what copying it hands on. Like any field, it hides its selection while
// another control has the focus.
#pragma once

#include <QTextEdit>
#include <functional>

namespace sw {

class PreviewEdit : public QTextEdit {
  public:
    explicit PreviewEdit(QWidget* parent = nullptr);

    // The scale the text is drawn at: 1, or less while the text is taller than the field.
    qreal Scale() const { return scale_; }
    // Runs whenever the scale changes.
    std::function<void(qreal)> onScaleChange;

    // Shows the text from its start.
    void ScrollToStart();

  protected:
    void paintEvent(QPaintEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    // Works out the scale from the text's size and sets the sideways scroll range to match.
    void Fit();
    // The mouse event with its position moved to where the unscaled text lies under it.
    QMouseEvent Unscaled(const QMouseEvent& event) const;

    qreal scale_ = 1;
    bool fitting_ = false;
};

}  // namespace sw
