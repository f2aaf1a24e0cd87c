#include "widgets/preview_edit.h"

#include <QAbstractTextDocumentLayout>
#include <QMouseEvent>
#include <QPainter>
#include <QScrollBar>
#include <QTextDocument>
#include <algorithm>
#include <cmath>

namespace sw {

PreviewEdit::PreviewEdit(QWidget* parent) : QTextEdit(parent) {
    setLineWrapMode(QTextEdit::NoWrap);
    // The whole height always fits, so there is never anything to scroll up or down to.
    setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);

    // A bar code is black on white whatever the desktop's colours. Without the focus the field
    // shows no selection: the selected text is drawn as the rest.
    QPalette p = palette();
    for (QPalette::ColorGroup group : {QPalette::Active, QPalette::Inactive, QPalette::Disabled}) {
        p.setColor(group, QPalette::Base, Qt::white);
        p.setColor(group, QPalette::Text, Qt::black);
    }
    p.setColor(QPalette::Inactive, QPalette::Highlight, Qt::transparent);
    p.setColor(QPalette::Inactive, QPalette::HighlightedText, Qt::black);
    setPalette(p);

    // Connected after the field's own handling, so that the scroll range set here stands.
    connect(document()->documentLayout(), &QAbstractTextDocumentLayout::documentSizeChanged, this,
            [this] { Fit(); });
    // The field asks to redraw the places it changed in unscaled terms; on a scaled drawing
    // those lie elsewhere, so any change redraws the whole.
    const auto redraw = [this] {
        if (scale_ != 1)
            viewport()->update();
    };
    connect(document(), &QTextDocument::contentsChanged, this, redraw);
    connect(this, &QTextEdit::cursorPositionChanged, this, redraw);
    connect(this, &QTextEdit::selectionChanged, this, redraw);
}

void PreviewEdit::ScrollToStart() {
    horizontalScrollBar()->setValue(0);
}

void PreviewEdit::Fit() {
    if (fitting_)
        return;
    fitting_ = true;
    const QSizeF text = document()->documentLayout()->documentSize();
    const QSize area = contentsRect().size();  // scroll bar included
    const int bar = horizontalScrollBar()->sizeHint().height();
    qreal scale = 1;
    if (!document()->isEmpty() && text.height() > 0) {
        scale = std::min<qreal>(1, area.height() / text.height());
        if (text.width() * scale > area.width())  // the sideways scroll bar takes its room
            scale = std::min<qreal>(1, std::max(1, area.height() - bar) / text.height());
    }
    const int wide = document()->isEmpty() ? 0 : int(std::ceil(text.width() * scale));
    // The scroll bar is shown or hidden here rather than by the range, which the field also
    // sets, in unscaled terms, whenever it lays the text out.
    setHorizontalScrollBarPolicy(wide > area.width() ? Qt::ScrollBarAlwaysOn
                                                     : Qt::ScrollBarAlwaysOff);
    verticalScrollBar()->setRange(0, 0);
    horizontalScrollBar()->setRange(0, std::max(0, wide - area.width()));
    horizontalScrollBar()->setPageStep(area.width());
    const bool changed = scale != scale_;
    scale_ = scale;
    fitting_ = false;
    if (changed) {
        viewport()->update();
        if (onScaleChange)
            onScaleChange(scale_);
    }
}

void PreviewEdit::resizeEvent(QResizeEvent* event) {
    QTextEdit::resizeEvent(event);
    Fit();
}

void PreviewEdit::paintEvent(QPaintEvent* event) {
    if (scale_ == 1) {
        QTextEdit::paintEvent(event);
        return;
    }
    const qreal offset = horizontalScrollBar()->value();
    QPainter painter(viewport());
    painter.translate(-offset, 0);
    painter.scale(scale_, scale_);
    QAbstractTextDocumentLayout::PaintContext context;
    context.palette = palette();
    context.clip = QRectF((event->rect().left() + offset) / scale_, event->rect().top() / scale_,
                          event->rect().width() / scale_, event->rect().height() / scale_);
    if (hasFocus()) {
        const QTextCursor cursor = textCursor();
        if (!isReadOnly())
            context.cursorPosition = cursor.position();
        if (cursor.hasSelection()) {
            QAbstractTextDocumentLayout::Selection selection;
            selection.cursor = cursor;
            selection.format.setBackground(palette().brush(QPalette::Active, QPalette::Highlight));
            selection.format.setForeground(
                palette().brush(QPalette::Active, QPalette::HighlightedText));
            context.selections.append(selection);
        }
    }
    document()->documentLayout()->draw(&painter, context);
}

QMouseEvent PreviewEdit::Unscaled(const QMouseEvent& event) const {
    // The field finds the text under a point by adding its scroll offset; the point given to it
    // is chosen so that the sum lands where the scaled drawing shows that text.
    const qreal offset = horizontalScrollBar()->value();
    const QPointF at = event.position();
    const QPointF unscaled((at.x() + offset) / scale_ - offset, at.y() / scale_);
    return QMouseEvent(event.type(), unscaled, event.scenePosition(), event.globalPosition(),
                       event.button(), event.buttons(), event.modifiers(), event.pointingDevice());
}

void PreviewEdit::mousePressEvent(QMouseEvent* event) {
    QMouseEvent unscaled = Unscaled(*event);
    QTextEdit::mousePressEvent(&unscaled);
    event->setAccepted(unscaled.isAccepted());
}

void PreviewEdit::mouseMoveEvent(QMouseEvent* event) {
    QMouseEvent unscaled = Unscaled(*event);
    QTextEdit::mouseMoveEvent(&unscaled);
    event->setAccepted(unscaled.isAccepted());
}

void PreviewEdit::mouseReleaseEvent(QMouseEvent* event) {
    QMouseEvent unscaled = Unscaled(*event);
    QTextEdit::mouseReleaseEvent(&unscaled);
    event->setAccepted(unscaled.isAccepted());
}

void PreviewEdit::mouseDoubleClickEvent(QMouseEvent* event) {
    QMouseEvent unscaled = Unscaled(*event);
    QTextEdit::mouseDoubleClickEvent(&unscaled);
    event->setAccepted(unscaled.isAccepted());
}

}  // namespace sw
