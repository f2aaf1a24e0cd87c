// What Copy puts on the clipboard: the preview's characters with the face and point size each
// one is set in, as plain text, HTML and RTF, so that any receiving program finds a flavour it
// reads.
#pragma once

#include <QByteArray>
#include <QString>
#include <memory>

class QMimeData;
class QTextDocument;

namespace sw {

// The MIME types under which the RTF flavour is offered.
inline constexpr const char* kRtfMimeTypes[] = {"text/rtf", "text/richtext", "application/rtf"};

// The characters alone, paragraphs separated by "\n".
QString PlainTextOf(const QTextDocument& document);

// An HTML document in which every run of equally formatted characters is a span carrying its
// quoted font-family and its font-size in points.
QString HtmlOf(const QTextDocument& document);

// An RTF document (ANSI, code page 1252) with a font table of the faces used and every
// character escaped; \fs is twice the point size.
QByteArray RtfOf(const QTextDocument& document);

// All flavours together, ready for the clipboard.
std::unique_ptr<QMimeData> ClipboardContent(const QTextDocument& document);

}  // namespace sw
