#include "widgets/widgets.h"

#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionFocusRect>
#include <QStyleOptionGroupBox>

namespace sw {

LinkLabel::LinkLabel(QWidget* parent) : QLabel(parent) {
    setCursor(Qt::PointingHandCursor);
    QFont f = font();
    f.setUnderline(true);
    setFont(f);
    setForegroundRole(QPalette::Link);
    setFocusPolicy(Qt::TabFocus);
}

void LinkLabel::mouseReleaseEvent(QMouseEvent* event) {
    QLabel::mouseReleaseEvent(event);
    if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()) &&
        onClick) {
        onClick();
    }
}

void LinkLabel::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if ((key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) &&
        (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier && onClick) {
        onClick();
        return;
    }
    QLabel::keyPressEvent(event);
}

void LinkLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!hasFocus())
        return;
    QPainter painter(this);
    QStyleOptionFocusRect focus;
    focus.initFrom(this);
    focus.rect = contentsRect();
    style()->drawPrimitive(QStyle::PE_FrameFocusRect, &focus, &painter, this);
}

void DataLineEdit::focusOutEvent(QFocusEvent* event) {
    if (!keepSelection_ || !hasSelectedText()) {
        QLineEdit::focusOutEvent(event);
        return;
    }
    const int start = selectionStart();
    const int length = static_cast<int>(selectedText().size());
    const int cursor = cursorPosition();
    QLineEdit::focusOutEvent(event);
    if (cursor == start) {
        setSelection(start + length, -length);
    } else {
        setSelection(start, length);
    }
}

void CaptionInFrameStyle::drawComplexControl(ComplexControl control,
                                             const QStyleOptionComplex* option, QPainter* painter,
                                             const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box) {
        QProxyStyle::drawComplexControl(control, option, painter, widget);
        return;
    }
    const QRect label = subControlRect(control, option, SC_GroupBoxLabel, widget);
    const QRect frame = subControlRect(control, option, SC_GroupBoxFrame, widget);
    painter->save();
    painter->setClipRegion(QRegion(box->rect).subtracted(label));
    painter->setPen(box->palette.color(QPalette::Mid));
    painter->drawRect(frame.adjusted(0, 0, -2, -2));
    painter->setPen(box->palette.color(QPalette::Light));
    painter->drawRect(frame.adjusted(1, 1, -1, -1));
    painter->restore();
    drawItemText(painter, label, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextShowMnemonic,
                 box->palette, box->state & State_Enabled, box->text, QPalette::WindowText);
}

QRect CaptionInFrameStyle::subControlRect(ComplexControl control, const QStyleOptionComplex* option,
                                          SubControl sub, const QWidget* widget) const {
    const auto* box = qstyleoption_cast<const QStyleOptionGroupBox*>(option);
    if (control != CC_GroupBox || !box) {
        return QProxyStyle::subControlRect(control, option, sub, widget);
    }
    const int height = box->fontMetrics.height();
    const QRect label(6, 0, box->fontMetrics.horizontalAdvance(box->text) + 2, height);
    switch (sub) {
        case SC_GroupBoxLabel:
            return label;
        case SC_GroupBoxFrame:
            return box->rect.adjusted(0, height / 2, 0, 0);
        case SC_GroupBoxContents:
            return box->rect.adjusted(2, height, -2, -2);
        default:
            return QProxyStyle::subControlRect(control, option, sub, widget);
    }
}

QFont LayoutFont(const QString& family, int pixels, bool bold) {
    QFont f;
    f.setFamilies({family, QStringLiteral("Liberation Sans"), QStringLiteral("Arial"),
                   QStringLiteral("DejaVu Sans")});
    f.setPixelSize(pixels);
    f.setBold(bold);
    return f;
}

}  // namespace sw
