// Section and key names of the settings file.
#pragma once

#include <QString>

namespace sw::keys {

inline const QString kSettings = QStringLiteral("Settings");
inline const QString kCount = QStringLiteral("Count");
inline const QString kInstDt = QStringLiteral("InstDt");
inline const QString kHintsOff = QStringLiteral("HintsOff");
inline const QString kLeft = QStringLiteral("Left");
inline const QString kTop = QStringLiteral("Top");
inline const QString kType = QStringLiteral("Type");
inline const QString kData = QStringLiteral("Data");
inline const QString kFontSize = QStringLiteral("FontSize");
inline const QString kPointSize = QStringLiteral("PointSize");
inline const QString kChecksum = QStringLiteral("Checksum");
inline const QString kLabelSize = QStringLiteral("LabelSize");
inline const QString kLabelExplain = QStringLiteral("LabelExplain");

inline const QString kTipOfTheDay = QStringLiteral("TipoftheDay");
inline const QString kEnabled = QStringLiteral("Enabled");
inline const QString kPosition = QStringLiteral("Position");
inline const QString kMaximum = QStringLiteral("Maximum");
inline const QString kTips = QStringLiteral("Tips");

// What a first run stores, and what a missing key reads as.
inline const QString kDefaultType = QStringLiteral("39");
inline const QString kDefaultData = QStringLiteral("1234ABCD");
inline const QString kDefaultFontSize = QStringLiteral("N");
inline const QString kDefaultPointSize = QStringLiteral("24");
inline constexpr int kDefaultLabelSize = 4;
inline constexpr int kMissingCount = 10;
inline constexpr int kMissingInstDt = 1001;

inline const QString kTipFileMissing =
    QStringLiteral("The Tip-of-the-Day file could not be found! Please re-install this product.");

}  // namespace sw::keys
