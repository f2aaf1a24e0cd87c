// Building the main window's controls: their places, fonts and captions. Shared by the files
// that build the top panel (panel.cpp) and the area below it (data_area.cpp).
#pragma once

#include <QIcon>
#include <QPushButton>
#include <QRadioButton>
#include <QToolButton>
#include <string_view>

namespace sw::layout {

inline const QString kFormFont = QStringLiteral("MS Sans Serif");

// Places a control at its layout position. Texts take the room they need when the font of the
// desktop runs wider than the layout's, so that no caption is cut off.
template <class W>
W* Place(W* widget, int left, int top, int width, int height, bool fitText = true) {
    widget->setGeometry(left, top, width, height);
    if (fitText) {
        const int needed = widget->sizeHint().width();
        if (needed > width)
            widget->resize(needed, height);
    }
    return widget;
}

inline QRadioButton* Radio(QWidget* parent, std::string_view caption, std::string_view hint) {
    auto* button =
        new QRadioButton(QString::fromUtf8(caption.data(), qsizetype(caption.size())), parent);
    button->setToolTip(QString::fromUtf8(hint.data(), qsizetype(hint.size())));
    return button;
}

inline QPushButton* CommandButton(QWidget* parent, const QString& caption, const QString& hint,
                                  const QIcon& icon) {
    auto* button = new QPushButton(icon, caption, parent);
    button->setToolTip(hint);
    button->setAutoDefault(false);
    return button;
}

inline QToolButton* PictureButton(QWidget* parent, const QString& caption, const QIcon& icon) {
    auto* button = new QToolButton(parent);
    button->setIcon(icon);
    if (caption.isEmpty()) {
        button->setToolButtonStyle(Qt::ToolButtonIconOnly);
        button->setAutoRaise(true);
    } else {
        button->setText(caption);
        button->setToolButtonStyle(Qt::ToolButtonTextBesideIcon);
    }
    button->setFocusPolicy(Qt::NoFocus);  // picture buttons take no keyboard focus
    return button;
}

inline QString Text(std::string_view text) {
    return QString::fromUtf8(text.data(), qsizetype(text.size()));
}

}  // namespace sw::layout
