// A small RTF reader for tests: just enough of the format to read back what the clipboard
// holds (font table, \f, \fs, \plain, \'hh, \uN with \uc, \par, \line, \tab, escaped symbols,
// and skipping of {\* ...} destinations), so that every character comes back with the face
// and the size it was written in.
#pragma once

#include <QByteArray>
#include <QMap>
#include <QString>
#include <vector>

namespace sw::testing {

struct RtfChar {
    char32_t c;
    QString face;
    int halfPoints;
};

struct RtfText {
    std::vector<RtfChar> chars;
    QMap<int, QString> fonts;
    int codePage = 0;
    QString error;  // empty when the document was well formed

    QString Text() const {
        QString s;
        for (const RtfChar& ch : chars) s += QString::fromUcs4(&ch.c, 1);
        return s;
    }
};

RtfText ReadRtf(const QByteArray& rtf);

}  // namespace sw::testing
