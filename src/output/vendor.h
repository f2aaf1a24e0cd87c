// Who makes the program and its bar code fonts, and where its web pages live. Every address the
// program opens is built from kWebHost, so moving the site means changing one line; every line
// that names the maker (the window's caption above the font string, the about box, the sample
// page) is built from kMaker. The package's maintainer, its copyright file, the AppStream
// metadata and the fonts' own copyright name the maker as kName too (a test holds them to it).
#pragma once

#include <QString>

#include "barcode/version.h"

namespace sw::vendor {

inline const QString kWebHost = QStringLiteral("https://www.stripewright.example");

inline const QString kMaker = QStringLiteral("Stripewright");
inline const QString kName = kMaker + QStringLiteral(" Software");
inline const QString kStreet = QStringLiteral("418 Harbour Lane, Suite 3");
inline const QString kTown = QStringLiteral("Port Alder, OR 97999");
inline const QString kPhone = QStringLiteral("Phone (541) 555-0147");
inline const QString kFax = QStringLiteral("Fax (541) 555-0148");
inline const QString kPhoneAndFax = kPhone + QStringLiteral("    ") + kFax;
inline const QString kWebAddress = QStringLiteral("www.stripewright.example");
inline const QString kCopyright = QStringLiteral("Copyright \u00a9 2026 ") + kName;

// Eight lower-case letters and digits naming the product in the update check.
inline const QString kProductCode = QStringLiteral("strpwr85");
// The short code word the update page takes.
inline const QString kUpdateCodeWord = QStringLiteral("stripewright");

inline QString ProductPageAddress() {
    return kWebHost + QStringLiteral("/stripewright.htm");
}

inline QString UpdateCheckAddress() {
    return kWebHost + QStringLiteral("/file/update.php?v=") + kProductCode + QStringLiteral("-") +
           QString::fromUtf8(kProgramVersion.data(),
                             static_cast<qsizetype>(kProgramVersion.size()));
}

inline QString UpdatePageAddress() {
    return kWebHost + QStringLiteral("/update.php?p=") + kUpdateCodeWord;
}

}  // namespace sw::vendor
