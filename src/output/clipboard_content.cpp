#include "output/clipboard_content.h"

#include <QMimeData>
#include <QTextBlock>
#include <QTextCharFormat>
#include <QTextDocument>
#include <QTextFragment>
#include <array>
#include <cmath>
#include <vector>

#include "barcode/text.h"

namespace sw {
namespace {

// A stretch of characters in one format.
struct Run {
    QString family;
    qreal pointSize = 12;
    bool bold = false;
    bool italic = false;
    QString text;  // line separators already turned into '\n'
};

// The document as paragraphs of runs.
using Paragraph = std::vector<Run>;

std::vector<Paragraph> ParagraphsOf(const QTextDocument& document) {
    const QFont base = document.defaultFont();
    std::vector<Paragraph> paragraphs;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        Paragraph& paragraph = paragraphs.emplace_back();
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            if (!fragment.isValid())
                continue;
            const QFont font = fragment.charFormat().font().resolve(base);
            Run run;
            run.family = font.family();
            run.pointSize = font.pointSizeF() > 0 ? font.pointSizeF() : 12;
            run.bold = font.bold();
            run.italic = font.italic();
            for (QChar c : fragment.text()) {
                if (c == QChar::ObjectReplacementCharacter)
                    continue;
                run.text += c == QChar::LineSeparator ? QChar(u'\n') : c;
            }
            if (run.text.isEmpty())
                continue;
            if (!paragraph.empty()) {
                Run& last = paragraph.back();
                if (last.family == run.family && last.pointSize == run.pointSize &&
                    last.bold == run.bold && last.italic == run.italic) {
                    last.text += run.text;
                    continue;
                }
            }
            paragraph.push_back(std::move(run));
        }
    }
    return paragraphs;
}

QString PointText(qreal points) {
    return QString::number(std::round(points * 100) / 100, 'g', 6) + QStringLiteral("pt");
}

// ----- HTML ---------------------------------------------------------------------------------

void AppendHtmlText(QString& out, const QString& text) {
    for (char32_t c : text.toUcs4()) {
        switch (c) {
            case U'&':
                out += QStringLiteral("&amp;");
                break;
            case U'<':
                out += QStringLiteral("&lt;");
                break;
            case U'>':
                out += QStringLiteral("&gt;");
                break;
            case U'"':
                out += QStringLiteral("&quot;");
                break;
            case U'\'':
                out += QStringLiteral("&#39;");
                break;
            case U'\n':
                out += QStringLiteral("<br>");
                break;
            default:
                if (c >= 32 && c < 127) {
                    out += QChar(static_cast<char16_t>(c));
                } else {
                    // Numeric references read the same whatever charset the reader assumes.
                    out += QStringLiteral("&#%1;").arg(static_cast<uint>(c));
                }
        }
    }
}

// Escapes an attribute value that is written between double quotes.
void AppendHtmlAttribute(QString& out, const QString& value) {
    for (QChar c : value) {
        switch (c.unicode()) {
            case u'&':
                out += QStringLiteral("&amp;");
                break;
            case u'<':
                out += QStringLiteral("&lt;");
                break;
            case u'>':
                out += QStringLiteral("&gt;");
                break;
            case u'"':
                out += QStringLiteral("&quot;");
                break;
            default:
                out += c;
        }
    }
}

// A family name as a quoted CSS string: quotes and backslashes escaped with a backslash, which
// every CSS reader understands; control characters have no place in a name and are dropped.
QString CssString(const QString& family) {
    QString out = QStringLiteral("'");
    for (QChar c : family) {
        if (c == u'\'' || c == u'\\' || c == u'"') {
            out += u'\\';
            out += c;
        } else if (c.unicode() >= 32) {
            out += c;
        }
    }
    return out + QStringLiteral("'");
}

// ----- RTF ----------------------------------------------------------------------------------

// The Windows-1252 byte of a character, or -1 when the code page lacks it (the control
// characters 0x80 to 0x9F too, which the bytes it leaves undefined do not stand for here).
int Cp1252Byte(char32_t c) {
    if (c < 0x80 || (c >= 0xA0 && c <= 0xFF))
        return static_cast<int>(c);
    for (std::size_t i = 0; i < kCp1252High.size(); ++i) {
        if (kCp1252High[i] != static_cast<char16_t>(0x80 + i) && kCp1252High[i] == c)
            return static_cast<int>(0x80 + i);
    }
    return -1;
}

void AppendHexByte(QByteArray& out, int byte) {
    static constexpr char kHex[] = "0123456789abcdef";
    out += "\\'";
    out += kHex[(byte >> 4) & 0xF];
    out += kHex[byte & 0xF];
}

// \uN with N as a signed 16-bit number, then the one-character fallback.
void AppendUnicode(QByteArray& out, char16_t unit, int fallbackByte) {
    out += "\\u";
    out += QByteArray::number(static_cast<int>(static_cast<int16_t>(unit)));
    if (fallbackByte >= 0) {
        AppendHexByte(out, fallbackByte);
    } else {
        out += '?';
    }
}

// Appends text with every character escaped as RTF needs it. `inFontTable` also escapes the
// semicolon, which ends a name there.
void AppendRtfText(QByteArray& out, const QString& text, bool inFontTable = false) {
    for (char32_t c : text.toUcs4()) {
        if (c == U'\\' || c == U'{' || c == U'}') {
            out += '\\';
            out += static_cast<char>(c);
        } else if (c == U'\n') {
            out += "\\line ";
        } else if (c == U'\t') {
            out += "\\tab ";
        } else if (c == U';' && inFontTable) {
            AppendHexByte(out, ';');
        } else if (c >= 32 && c < 127) {
            out += static_cast<char>(c);
        } else if (c < 32 || c == 127) {
            AppendHexByte(out, static_cast<int>(c));
        } else if (c >= 0xA0 && c <= 0xFF) {
            AppendHexByte(out, static_cast<int>(c));
        } else if (c > 0xFFFF) {
            const char32_t v = c - 0x10000;
            AppendUnicode(out, static_cast<char16_t>(0xD800 + (v >> 10)), -1);
            AppendUnicode(out, static_cast<char16_t>(0xDC00 + (v & 0x3FF)), -1);
        } else {
            AppendUnicode(out, static_cast<char16_t>(c), Cp1252Byte(c));
        }
    }
}

}  // namespace

QString PlainTextOf(const QTextDocument& document) {
    QString out;
    bool first = true;
    for (const Paragraph& paragraph : ParagraphsOf(document)) {
        if (!first)
            out += u'\n';
        first = false;
        for (const Run& run : paragraph) out += run.text;
    }
    return out;
}

QString HtmlOf(const QTextDocument& document) {
    QString out = QStringLiteral(
        "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title></title></head><body>\n"
        "<!--StartFragment-->");
    bool first = true;
    for (const Paragraph& paragraph : ParagraphsOf(document)) {
        if (!first)
            out += u'\n';
        first = false;
        out += QStringLiteral("<p style=\"margin:0\">");
        for (const Run& run : paragraph) {
            QString style = QStringLiteral("font-family:") + CssString(run.family) +
                            QStringLiteral("; font-size:") + PointText(run.pointSize) +
                            QStringLiteral("; white-space:pre");
            if (run.bold)
                style += QStringLiteral("; font-weight:bold");
            if (run.italic)
                style += QStringLiteral("; font-style:italic");
            out += QStringLiteral("<span style=\"");
            AppendHtmlAttribute(out, style);
            out += QStringLiteral("\">");
            AppendHtmlText(out, run.text);
            out += QStringLiteral("</span>");
        }
        out += QStringLiteral("</p>");
    }
    out += QStringLiteral("<!--EndFragment-->\n</body></html>\n");
    return out;
}

QByteArray RtfOf(const QTextDocument& document) {
    const std::vector<Paragraph> paragraphs = ParagraphsOf(document);
    QStringList fonts;
    for (const Paragraph& paragraph : paragraphs) {
        for (const Run& run : paragraph) {
            if (!fonts.contains(run.family))
                fonts << run.family;
        }
    }
    if (fonts.isEmpty())
        fonts << document.defaultFont().family();

    QByteArray out = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\uc1{\\fonttbl";
    for (qsizetype i = 0; i < fonts.size(); ++i) {
        out += "{\\f" + QByteArray::number(i) + "\\fnil\\fcharset0 ";
        AppendRtfText(out, fonts[i], true);
        out += ";}";
    }
    out += "}\n\\pard ";
    bool first = true;
    for (const Paragraph& paragraph : paragraphs) {
        if (!first)
            out += "\\par\n";
        first = false;
        for (const Run& run : paragraph) {
            out += "\\plain\\f" + QByteArray::number(fonts.indexOf(run.family)) + "\\fs" +
                   QByteArray::number(static_cast<int>(std::lround(run.pointSize * 2)));
            if (run.bold)
                out += "\\b";
            if (run.italic)
                out += "\\i";
            out += ' ';
            AppendRtfText(out, run.text);
        }
    }
    out += "}";
    return out;
}

std::unique_ptr<QMimeData> ClipboardContent(const QTextDocument& document) {
    auto data = std::make_unique<QMimeData>();
    data->setText(PlainTextOf(document));
    data->setHtml(HtmlOf(document));
    const QByteArray rtf = RtfOf(document);
    for (const char* type : kRtfMimeTypes) data->setData(QString::fromLatin1(type), rtf);
    return data;
}

}  // namespace sw
