#include "setup/settings_file.h"

#include <QFile>
#include <QStringDecoder>

#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "settings/settings_keys.h"

namespace sw::setup {

namespace {

const QString kProgramName = QStringLiteral("stripewright");

// The number of tips the file holds, numbered from 0 without a gap.
qsizetype TipsIn(const platform::IniSnapshot& ini) {
    const QString none = QStringLiteral("\n");
    qsizetype count = 0;
    while (ini.ReadString(keys::kTips, QString::number(count), none) != none) ++count;
    return count;
}

}  // namespace

bool ReadTips(const QByteArray& path, QStringList& tips, QString& error) {
    QByteArray bytes;
    if (platform::ReadRegularFile(path, bytes) != platform::ReadOutcome::Read) {
        error = QStringLiteral("Cannot read the tips file %1.").arg(platform::ShownPath(path));
        return false;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(bytes);
    tips.clear();
    for (const QString& raw : text.split(u'\n')) {
        const QString line = raw.trimmed();
        if (line.isEmpty() || line.startsWith(u'#'))
            continue;
        if (line.size() > platform::kMaxIniValueLength) {
            error = QStringLiteral("Tip %1 of %2 is longer than %3 characters.")
                        .arg(tips.size() + 1)
                        .arg(platform::ShownPath(path))
                        .arg(platform::kMaxIniValueLength);
            return false;
        }
        tips << line;
    }
    if (tips.isEmpty()) {
        error = QStringLiteral("The tips file %1 holds no tip.").arg(platform::ShownPath(path));
        return false;
    }
    return true;
}

bool InstallSettingsFile(const SetupContext& context, QStringList& report) {
    QStringList tips;
    QString error;
    if (!ReadTips(platform::JoinPath(context.dataFolder, "tips.txt"), tips, error)) {
        report << error;
        return false;
    }
    const QByteArray path = platform::JoinPath(
        context.programFolder, QFile::encodeName(platform::SettingsFileName(kProgramName)));
    const QString shown = platform::ShownPath(path);
    platform::AtomicWriteOptions options;
    options.followLinks = false;
    platform::IniFile ini = platform::IniFile::AtNativePath(path, options);

    enum class Outcome { Created, Kept, Link, Added } outcome = Outcome::Kept;
    bool hasSwitch = false;
    bool hasTips = false;
    // Decided on the file as it is while every other writer of ours waits.
    const auto change = [&](const platform::IniSnapshot& now) {
        std::vector<platform::IniValue> values;
        const platform::PathKind kind = platform::PathKindAt(path);
        hasSwitch = now.SectionExists(keys::kTipOfTheDay);
        hasTips = now.SectionExists(keys::kTips);
        if (kind == platform::PathKind::Missing) {
            outcome = Outcome::Created;
            hasSwitch = hasTips = false;
        } else if (hasSwitch && hasTips) {
            outcome = Outcome::Kept;
            return values;
        } else if (kind == platform::PathKind::Link) {
            outcome = Outcome::Link;
            return values;
        } else {
            outcome = Outcome::Added;
        }
        // Whatever is missing goes in with one replacement of the file, so that a set-up
        // stopped at any moment leaves either none of it or all of it, and the next run
        // finishes the job.
        const QString maximum = QString::number((hasTips ? TipsIn(now) : tips.size()) - 1);
        if (!hasSwitch) {
            values.push_back({keys::kTipOfTheDay, keys::kEnabled, QStringLiteral("1")});
            values.push_back({keys::kTipOfTheDay, keys::kPosition, QStringLiteral("0")});
        }
        values.push_back({keys::kTipOfTheDay, keys::kMaximum, maximum});
        if (!hasTips) {
            for (qsizetype i = 0; i < tips.size(); ++i)
                values.push_back({keys::kTips, QString::number(i), tips[i]});
        }
        return values;
    };
    try {
        ini.Update(change);
    } catch (const platform::IniWriteError& e) {
        report << QString::fromUtf8(e.what()) +
                      (e.reason().isEmpty() ? QString() : QStringLiteral(": ") + e.reason());
        return false;
    }
    switch (outcome) {
        case Outcome::Created:
            report << QStringLiteral("Created the settings file %1 with %2 tips.")
                          .arg(shown)
                          .arg(tips.size());
            break;
        case Outcome::Kept:
            report << QStringLiteral("Kept the settings file %1 as it is.").arg(shown);
            break;
        case Outcome::Link:
            report << QStringLiteral(
                          "Unable to write to %1: it is a symbolic link, which the set-up does "
                          "not write through.")
                          .arg(shown);
            return false;
        case Outcome::Added:
            if (!hasTips) {
                report << QStringLiteral("Added %1 tips to the settings file %2.")
                              .arg(tips.size())
                              .arg(shown);
            }
            if (!hasSwitch) {
                report << QStringLiteral("Added the tip of the day switch to the settings file %1.")
                              .arg(shown);
            }
            break;
    }
    return true;
}

}  // namespace sw::setup
