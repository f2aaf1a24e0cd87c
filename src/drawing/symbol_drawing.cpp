#include "drawing/symbol_drawing.h"

#include <QBuffer>
#include <QFont>
#include <QFontDatabase>
#include <QGlyphRun>
#include <QGuiApplication>
#include <QPageLayout>
#include <QPageSize>
#include <QPainter>
#include <QPdfWriter>
#include <QTransform>
#include <algorithm>
#include <charconv>
#include <cmath>
#include <mutex>
#include <optional>
#include <utility>

namespace sw::drawing {
namespace {

// The quadratic contours of a glyph as a path in font units, y upwards.
QPainterPath GlyphOutline(const FaceGlyphs& face, const GlyphEntry& glyph) {
    QPainterPath path;
    path.setFillRule(Qt::WindingFill);
    std::uint32_t start = glyph.firstPoint;
    for (std::uint32_t c = 0; c < glyph.contourCount; ++c) {
        const std::uint32_t end = face.contourEnds[glyph.firstContour + c];
        const OutlinePoint* pts = face.points + start;
        const std::uint32_t n = end - start;
        start = end;
        if (n < 2)
            continue;
        // The walk starts at an on-curve point, or midway between the first two points when
        // all are off the curve, and ends back there.
        std::vector<std::pair<QPointF, bool>> walk;
        std::uint32_t first = 0;
        while (first < n && !pts[first].onCurve) ++first;
        if (first == n) {
            const QPointF mid = (QPointF(pts[0].x, pts[0].y) + QPointF(pts[1].x, pts[1].y)) / 2;
            walk.emplace_back(mid, true);
            for (std::uint32_t k = 1; k <= n; ++k)
                walk.emplace_back(QPointF(pts[k % n].x, pts[k % n].y), false);
            walk.emplace_back(mid, true);
        } else {
            for (std::uint32_t k = 0; k <= n; ++k) {
                const OutlinePoint& p = pts[(first + k) % n];
                walk.emplace_back(QPointF(p.x, p.y), p.onCurve);
            }
        }
        path.moveTo(walk.front().first);
        std::optional<QPointF> control;
        for (std::size_t k = 1; k < walk.size(); ++k) {
            const auto& [p, on] = walk[k];
            if (on) {
                if (control)
                    path.quadTo(*control, p);
                else
                    path.lineTo(p);
                control.reset();
            } else {
                if (control)
                    path.quadTo(*control, (*control + p) / 2);
                control = p;
            }
        }
        path.closeSubpath();
    }
    return path;
}

// Lays out `text` in `face`: `width` turns the width of a bar or space in font units into the
// layout's units, `height` a vertical length; `scale` is the layout's units per font unit for
// the outlines, `side` and `top` the margins in layout units. With a valid `font` (at one
// pixel per font unit, so only for exact layouts), the outlines are placed as its glyphs.
template <class Width, class Height>
SymbolLayout Lay(const FaceGlyphs& face, std::u32string_view text, Width width, Height height,
                 double scale, double side, double top, const QRawFont& font = QRawFont()) {
    SymbolLayout layout;
    layout.outlines.setFillRule(Qt::WindingFill);
    const OutlineFace* outlineFace = font.isValid() ? FindOutlineFace(face) : nullptr;
    if (outlineFace != nullptr)
        layout.outlineFont = font;
    const double baseline = top + height(face.ascent);
    const auto ink = [&](double left, double right) {
        const bool none = layout.inkLeft > layout.inkRight;
        layout.inkLeft = none ? left : std::min(layout.inkLeft, left);
        layout.inkRight = none ? right : std::max(layout.inkRight, right);
    };
    double x = side;
    for (const char32_t code : text) {
        const GlyphEntry* glyph = FindGlyph(face, code);
        if (glyph == nullptr) {
            x += width(face.blankAdvance);
            continue;
        }
        const double origin = x;
        std::int32_t cursor = 0;
        for (std::uint32_t b = 0; b < glyph->barCount; ++b) {
            const GlyphBar& bar = face.bars[glyph->firstBar + b];
            if (bar.x > cursor)
                x += width(bar.x - cursor);
            const BarExtent& e = face.extents[bar.kind];
            const double w = width(bar.width);
            const double y = baseline - height(e.top);
            layout.bars.emplace_back(x, y, w, baseline - height(e.bottom) - y);
            ink(x, x + w);
            x += w;
            cursor = bar.x + bar.width;
        }
        if (glyph->advance > cursor)
            x += width(glyph->advance - cursor);
        if (glyph->contourCount != 0) {
            const std::uint32_t end =
                face.contourEnds[glyph->firstContour + glyph->contourCount - 1];
            for (std::uint32_t p = glyph->firstPoint; p < end; ++p)
                ink(origin + scale * face.points[p].x, origin + scale * face.points[p].x);
        }
        if (glyph->contourCount != 0 && outlineFace != nullptr) {
            const OutlinePlacement& p = outlineFace->placements[glyph - face.glyphs];
            layout.glyphs.push_back(
                {p.glyph, QPointF(origin + scale * p.dx, baseline - scale * p.dy), p.scale});
        } else if (glyph->contourCount != 0) {
            const QTransform place(scale, 0, 0, -scale, origin, baseline);
            layout.outlines.addPath(place.map(GlyphOutline(face, *glyph)));
        }
    }
    layout.size = QSizeF(x + side, baseline + height(face.descent) + top);
    return layout;
}

int SideMarginUnits(const FaceGlyphs& face) {
    const int margin = face.unitsPerEm * kSideMarginFifths / 5;
    if (face.module <= 0)
        return margin;
    return (margin + face.module - 1) / face.module * face.module;
}

std::string Number(double v) {
    char buf[32];
    const auto r = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::fixed, 3);
    std::string s(buf, r.ptr);
    if (s.find('.') != std::string::npos) {
        while (s.back() == '0') s.pop_back();
        if (s.back() == '.')
            s.pop_back();
    }
    return s == "-0" ? "0" : s;
}

}  // namespace

QRawFont OutlineFont(const FaceGlyphs& face) {
    const OutlineFace* outlines = FindOutlineFace(face);
    if (outlines == nullptr || qGuiApp == nullptr)
        return {};
    // Each face is added once: the application's fonts outlive any one QGuiApplication. A font
    // added to them has a file name of its own, which the PDF writer needs in order to embed it
    // rather than write its glyphs as paths.
    static std::mutex mutex;
    static std::vector<int> ids(kOutlineFacesCount, -2);
    {
        const std::lock_guard<std::mutex> lock(mutex);
        int& id = ids[static_cast<std::size_t>(outlines - kOutlineFaces)];
        if (id == -2) {
            id = QFontDatabase::addApplicationFontFromData(
                QByteArray::fromRawData(reinterpret_cast<const char*>(outlines->data),
                                        static_cast<qsizetype>(outlines->size)));
        }
        if (id < 0)
            return {};
    }
    QFont font(
        QString::fromUtf8(outlines->name.data(), static_cast<qsizetype>(outlines->name.size())));
    font.setPixelSize(face.unitsPerEm);
    font.setHintingPreference(QFont::PreferNoHinting);
    font.setStyleStrategy(QFont::NoFontMerging);
    QRawFont raw = QRawFont::fromFont(font);
    if (!raw.isValid() || raw.familyName() != font.family())
        return {};
    return raw;
}

SymbolLayout ExactLayout(const FaceGlyphs& face, std::u32string_view text,
                         const QRawFont& outlineFont) {
    const auto same = [](double units) { return units; };
    return Lay(face, text, same, same, 1.0, SideMarginUnits(face),
               face.unitsPerEm * kTopMarginTenths / 10.0, outlineFont);
}

double SmallestGridPoints(const FaceGlyphs& face, int dpi) {
    const double points = 72.0 * face.unitsPerEm / (NarrowestUnits(face) * double(dpi));
    return std::ceil(points * 10 - 1e-9) / 10;
}

std::optional<SymbolLayout> GridLayout(const FaceGlyphs& face, std::u32string_view text,
                                       double points, int dpi, std::string* error) {
    const double scale = points / 72.0 * dpi / face.unitsPerEm;  // pixels per font unit
    const double narrowest = NarrowestUnits(face) * scale;
    if (narrowest < 1 - 1e-9) {
        if (error != nullptr) {
            *error = Number(points) + " points at " + std::to_string(dpi) +
                     " dpi would make the narrow bars " +
                     Number(std::floor(narrowest * 100) / 100) +
                     " pixels wide; the smallest size that works at " + std::to_string(dpi) +
                     " dpi is " + Number(SmallestGridPoints(face, dpi)) + " points";
        }
        return {};
    }
    // Whole pixels for the narrow element and the wide one; other widths of a face built on a
    // module are whole numbers of narrow elements, and a face without a module rounds each
    // width, so that equal widths stay equal.
    const int narrow = std::max(1, static_cast<int>(std::lround(narrowest)));
    int wide = 0;
    if (face.module > 0 && face.ratio > 0) {
        wide = static_cast<int>(std::lround(face.ratio * face.module * scale));
        wide = std::clamp(wide, (22 * narrow + 9) / 10, 3 * narrow);
    }
    const auto width = [&](double units) -> double {
        if (face.module > 0) {
            if (wide != 0 && std::abs(units - face.ratio * face.module) < 0.5)
                return wide;
            const double modules = units / face.module;
            if (modules == std::floor(modules))
                return modules * narrow;
        }
        return double(std::lround(units * scale));
    };
    const auto height = [&](double units) { return double(std::lround(units * scale)); };
    const double side = face.module > 0
                            ? SideMarginUnits(face) / face.module * narrow
                            : std::ceil(face.unitsPerEm * kSideMarginFifths / 5.0 * scale - 1e-9);
    const double top = std::ceil(face.unitsPerEm * kTopMarginTenths / 10.0 * scale - 1e-9);
    return Lay(face, text, width, height, scale, side, top);
}

QSizeF SizeInPoints(const FaceGlyphs& face, const SymbolLayout& exact, double points) {
    return exact.size * (points / face.unitsPerEm);
}

void PaintSymbol(QPainter& painter, const SymbolLayout& layout, const QRectF& target,
                 const QColor& colour) {
    if (layout.size.isEmpty())
        return;
    painter.save();
    painter.translate(target.topLeft());
    painter.scale(target.width() / layout.size.width(), target.height() / layout.size.height());
    for (const QRectF& bar : layout.bars) painter.fillRect(bar, colour);
    if (!layout.outlines.isEmpty())
        painter.fillPath(layout.outlines, colour);
    // One run of glyphs for each size they are drawn at, all of the one embedded font.
    std::vector<double> scales;
    for (const SymbolLayout::PlacedGlyph& g : layout.glyphs) {
        if (std::find(scales.begin(), scales.end(), g.scale) == scales.end())
            scales.push_back(g.scale);
    }
    for (const double scale : scales) {
        QList<quint32> indexes;
        QList<QPointF> positions;
        for (const SymbolLayout::PlacedGlyph& g : layout.glyphs) {
            if (g.scale != scale)
                continue;
            indexes.append(g.index);
            positions.append(g.origin);
        }
        QRawFont font = layout.outlineFont;
        font.setPixelSize(layout.outlineFont.pixelSize() * scale);
        QGlyphRun run;
        run.setRawFont(font);
        run.setGlyphIndexes(indexes);
        run.setPositions(positions);
        painter.setPen(colour);
        painter.drawGlyphRun(QPointF(0, 0), run);
    }
    painter.restore();
}

QImage RasterImage(const SymbolLayout& grid, int dpi) {
    const int width = static_cast<int>(grid.size.width());
    const int height = static_cast<int>(grid.size.height());
    // The picture is kept at one bit a pixel, a set bit black. It is painted a band of rows at a
    // time in grey levels, each band then packed into it, so that a large picture never needs a
    // byte a pixel at once.
    QImage mono(width, height, QImage::Format_Mono);
    if (mono.isNull())
        return {};
    mono.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    mono.fill(0);
    constexpr qsizetype kBandBytes = 8 << 20;
    const int bandRows =
        static_cast<int>(std::clamp<qsizetype>(kBandBytes / std::max(width, 1), 1, height));
    QImage band(width, bandRows, QImage::Format_Grayscale8);
    if (band.isNull())
        return {};
    for (int top = 0; top < height; top += bandRows) {
        band.fill(255);
        {
            QPainter painter(&band);
            painter.setRenderHint(QPainter::Antialiasing, false);
            painter.translate(0, -top);
            PaintSymbol(painter, grid, QRectF(QPointF(0, 0), grid.size));
        }
        const int rows = std::min(bandRows, height - top);
        for (int y = 0; y < rows; ++y) {
            const uchar* grey = band.constScanLine(y);
            uchar* bits = mono.scanLine(top + y);
            for (int x = 0; x < width; ++x) {
                if (grey[x] < 128)
                    bits[x >> 3] |= static_cast<uchar>(0x80 >> (x & 7));
            }
        }
    }
    const int dotsPerMeter = static_cast<int>(std::lround(dpi / 0.0254));
    mono.setDotsPerMeterX(dotsPerMeter);
    mono.setDotsPerMeterY(dotsPerMeter);
    return mono;
}

QByteArray SvgDocument(const FaceGlyphs& face, const SymbolLayout& exact, double points) {
    const QSizeF pt = SizeInPoints(face, exact, points);
    std::string svg =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<svg xmlns=\"http://www.w3.org/2000/svg\" version=\"1.1\" width=\"" +
        Number(pt.width()) + "pt\" height=\"" + Number(pt.height()) + "pt\" viewBox=\"0 0 " +
        Number(exact.size.width()) + " " + Number(exact.size.height()) + "\">\n";
    svg += "<rect width=\"" + Number(exact.size.width()) + "\" height=\"" +
           Number(exact.size.height()) + "\" fill=\"#fff\"/>\n<g fill=\"#000\">\n";
    for (const QRectF& bar : exact.bars) {
        svg += "<rect x=\"" + Number(bar.x()) + "\" y=\"" + Number(bar.y()) + "\" width=\"" +
               Number(bar.width()) + "\" height=\"" + Number(bar.height()) + "\"/>\n";
    }
    if (!exact.outlines.isEmpty()) {
        // Appended piece by piece: GCC 12 at -O3 misreads "L" + std::string as overlapping.
        std::string d;
        auto point = [&d](char command, double x, double y) {
            if (command != ' ')
                d += command;
            d += Number(x);
            d += ' ';
            d += Number(y);
        };
        for (int i = 0; i < exact.outlines.elementCount(); ++i) {
            const QPainterPath::Element e = exact.outlines.elementAt(i);
            if (e.type == QPainterPath::MoveToElement) {
                if (!d.empty())
                    d += 'Z';
                point('M', e.x, e.y);
            } else if (e.type == QPainterPath::LineToElement) {
                point('L', e.x, e.y);
            } else if (e.type == QPainterPath::CurveToElement) {
                const QPainterPath::Element c2 = exact.outlines.elementAt(i + 1);
                const QPainterPath::Element to = exact.outlines.elementAt(i + 2);
                point('C', e.x, e.y);
                d += ' ';
                point(' ', c2.x, c2.y);
                d += ' ';
                point(' ', to.x, to.y);
                i += 2;
            }
        }
        svg += "<path fill-rule=\"nonzero\" d=\"" + d + "Z\"/>\n";
    }
    svg += "</g>\n</svg>\n";
    return QByteArray::fromStdString(svg);
}

QByteArray PdfDocument(const FaceGlyphs& face, const SymbolLayout& exact, double points) {
    constexpr int kResolution = 7200;  // fine enough that every edge lands where it should
    const QSizeF pt = SizeInPoints(face, exact, points);
    // Pages come in whole points.
    const QSizeF page(std::ceil(pt.width() - 1e-6), std::ceil(pt.height() - 1e-6));
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    {
        QPdfWriter pdf(&buffer);
        pdf.setCreator(QStringLiteral("stripewright-encode"));
        pdf.setResolution(kResolution);
        pdf.setPageLayout(
            QPageLayout(QPageSize(page, QPageSize::Point, QString(), QPageSize::ExactMatch),
                        QPageLayout::Portrait, QMarginsF()));
        QPainter painter(&pdf);
        const double k = kResolution / 72.0;
        const QRectF target(
            QPointF((page.width() - pt.width()) / 2 * k, (page.height() - pt.height()) / 2 * k),
            pt * k);
        PaintSymbol(painter, exact, target);
    }
    return buffer.data();
}

}  // namespace sw::drawing
