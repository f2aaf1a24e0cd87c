#include "widgets/pictures.h"

#include <QIconEngine>
#include <QPainter>
#include <QPainterPath>
#include <array>
#include <functional>

#include "widgets/widgets.h"

namespace sw::pictures {

namespace {

using Painting = std::function<void(QPainter&)>;

// An icon drawn on a 16 x 16 grid when, and at the size that, it is first needed: sharp at any
// scale, and nothing is drawn at start-up that is not shown.
class PaintedIcon : public QIconEngine {
  public:
    explicit PaintedIcon(Painting paint) : paint_(std::move(paint)) {}

    void paint(QPainter* painter, const QRect& rect, QIcon::Mode mode, QIcon::State) override {
        painter->save();
        painter->setRenderHint(QPainter::Antialiasing);
        painter->translate(rect.topLeft());
        painter->scale(rect.width() / 16.0, rect.height() / 16.0);
        if (mode == QIcon::Disabled)
            painter->setOpacity(0.4);
        paint_(*painter);
        painter->restore();
    }
    QPixmap pixmap(const QSize& size, QIcon::Mode mode, QIcon::State state) override {
        return scaledPixmap(size, mode, state, 1.0);
    }
    QPixmap scaledPixmap(const QSize& size, QIcon::Mode mode, QIcon::State state,
                         qreal scale) override {
        QPixmap pixmap(size * scale);
        pixmap.fill(Qt::transparent);
        {
            QPainter painter(&pixmap);
            paint(&painter, QRect(QPoint(), pixmap.size()), mode, state);
        }
        pixmap.setDevicePixelRatio(scale);
        return pixmap;
    }
    QSize actualSize(const QSize& size, QIcon::Mode, QIcon::State) override { return size; }
    QIconEngine* clone() const override { return new PaintedIcon(paint_); }

  private:
    Painting paint_;
};

QIcon Draw(Painting paint) {
    return QIcon(new PaintedIcon(std::move(paint)));
}

void Bars(QPainter& p, QRectF area) {
    // A fixed pattern of narrow and wide bars and spaces, bar first.
    static constexpr std::array<double, 11> kWidths{1, 1, 2, 1, 1, 2, 2, 1, 1, 2, 1};
    double total = 0;
    for (double w : kWidths) total += w;
    const double unit = area.width() / total;
    double x = area.left();
    bool bar = true;
    for (double w : kWidths) {
        if (bar)
            p.fillRect(QRectF(x, area.top(), w * unit, area.height()), Qt::black);
        x += w * unit;
        bar = !bar;
    }
}

void Circle(QPainter& p, const QColor& fill) {
    p.setPen(QPen(fill.darker(140), 1));
    p.setBrush(fill);
    p.drawEllipse(QRectF(1.5, 1.5, 13, 13));
}

void CentredText(QPainter& p, const QString& text) {
    // The window's own bold face, which its captions have loaded already.
    p.setFont(LayoutFont(QStringLiteral("MS Sans Serif"), 11, true));
    p.setPen(Qt::white);
    p.drawText(QRectF(0, 0, 16, 16), Qt::AlignCenter, text);
}

void Sheet(QPainter& p, QRectF r) {
    p.setPen(QPen(QColor(90, 90, 90), 1));
    p.setBrush(Qt::white);
    p.drawRect(r);
}

}  // namespace

QIcon Make() {
    return Draw([](QPainter& p) { Bars(p, QRectF(1, 2, 14, 12)); });
}

QIcon Copy() {
    return Draw([](QPainter& p) {
        Sheet(p, QRectF(1.5, 1.5, 9, 10));
        Sheet(p, QRectF(5.5, 4.5, 9, 10));
        Bars(p, QRectF(7, 7, 6, 5));
    });
}

QIcon Labels() {
    return Draw([](QPainter& p) {
        Sheet(p, QRectF(2.5, 0.5, 11, 15));
        p.setPen(QPen(QColor(30, 90, 180), 1));
        p.setBrush(QColor(200, 220, 250));
        for (int row = 0; row < 4; ++row) {
            p.drawRect(QRectF(4.5, 2.5 + row * 3.2, 7, 2.2));
        }
    });
}

QIcon Sample() {
    return Draw([](QPainter& p) {
        p.setPen(QPen(QColor(70, 70, 70), 1));
        p.setBrush(QColor(200, 200, 200));
        p.drawRoundedRect(QRectF(0.5, 6.5, 15, 6), 1.5, 1.5);
        Sheet(p, QRectF(3.5, 0.5, 9, 7));
        Bars(p, QRectF(5, 2, 6, 4));
        Sheet(p, QRectF(3.5, 10.5, 9, 5));
    });
}

QIcon Tips() {
    return Draw([](QPainter& p) {
        p.setPen(QPen(QColor(150, 120, 0), 1));
        p.setBrush(QColor(255, 220, 60));
        p.drawEllipse(QRectF(3, 0.5, 10, 10));
        p.setBrush(QColor(160, 160, 160));
        p.drawRect(QRectF(5.5, 10.5, 5, 4));
    });
}

QIcon About() {
    return Draw([](QPainter& p) {
        Circle(p, QColor(40, 100, 200));
        CentredText(p, QStringLiteral("i"));
    });
}

QIcon Help() {
    return Draw([](QPainter& p) {
        Circle(p, QColor(30, 140, 70));
        CentredText(p, QStringLiteral("?"));
    });
}

QIcon Previous() {
    return Draw([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 180));
        p.drawPolygon(QPolygonF({QPointF(2, 8), QPointF(9, 2), QPointF(9, 14)}));
        p.drawRect(QRectF(8, 6, 6, 4));
    });
}

QIcon Next() {
    return Draw([](QPainter& p) {
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(30, 90, 180));
        p.drawPolygon(QPolygonF({QPointF(14, 8), QPointF(7, 2), QPointF(7, 14)}));
        p.drawRect(QRectF(2, 6, 6, 4));
    });
}

QIcon Exit() {
    return Draw([](QPainter& p) {
        p.setPen(QPen(QColor(110, 70, 30), 1));
        p.setBrush(QColor(190, 140, 80));
        p.drawRect(QRectF(1.5, 1.5, 8, 13));
        p.setPen(Qt::NoPen);
        p.setBrush(QColor(200, 40, 40));
        p.drawPolygon(QPolygonF({QPointF(15, 8), QPointF(11, 4), QPointF(11, 12)}));
        p.drawRect(QRectF(7, 6.5, 4, 3));
    });
}

QIcon Program() {
    return Draw([](QPainter& p) {
        Sheet(p, QRectF(0.5, 2.5, 15, 11));
        Bars(p, QRectF(2, 4, 12, 8));
    });
}

QPixmap BarCodeArt(int width, int height) {
    QPixmap pixmap(width, height);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    const QRectF label(0.5, 0.5, width - 1.0, height - 1.0);
    p.setPen(QPen(QColor(120, 120, 120), 1));
    p.setBrush(Qt::white);
    p.drawRoundedRect(label, 4, 4);
    Bars(p, label.adjusted(width * 0.12, height * 0.15, -width * 0.12, -height * 0.3));
    p.setPen(Qt::black);
    QFont f(QStringLiteral("DejaVu Sans Mono"));
    f.setPixelSize(std::max(6, height / 8));
    p.setFont(f);
    p.drawText(QRectF(0, height * 0.72, width, height * 0.25), Qt::AlignCenter,
               QStringLiteral("*1234*"));
    return pixmap;
}

}  // namespace sw::pictures
