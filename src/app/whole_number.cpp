#include "app/whole_number.h"

#include <algorithm>

namespace sw {

int StrToInt(const QString& text) {
    bool ok = false;
    const int value = text.trimmed().toInt(&ok, 10);
    if (!ok) {
        throw ConversionError(
            (QStringLiteral("'") + text + QStringLiteral("' is not a valid integer value"))
                .toStdString());
    }
    return value;
}

int PreviewPointSize(const QString& text) {
    return std::clamp(StrToInt(text), kMinPreviewPointSize, kMaxPreviewPointSize);
}

}  // namespace sw
