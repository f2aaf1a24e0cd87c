#include "setup/settings_file.h"

#include <QDir>
#include <QFileInfo>
#include <QStringDecoder>

#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "platform/paths.h"
#include "settings/settings_keys.h"

namespace sw::setup {

namespace {

const QString kProgramName = QStringLiteral("stripewright");

// The number of tips the file holds, numbered from 0 without a gap.
qsizetype TipsIn(const platform::IniFile& ini) {
    const QString none = QStringLiteral("\n");
    qsizetype count = 0;
    while (ini.ReadString(keys::kTips, QString::number(count), none) != none) ++count;
    return count;
}

QByteArray NewSettingsFile(const QStringList& tips) {
    QString text;
    text += QStringLiteral("[") + keys::kTipOfTheDay + QStringLiteral("]\n");
    text += keys::kEnabled + QStringLiteral("=1\n");
    text += keys::kPosition + QStringLiteral("=0\n");
    text += keys::kMaximum + QStringLiteral("=") + QString::number(tips.size() - 1) + u'\n';
    text += QStringLiteral("\n[") + keys::kTips + QStringLiteral("]\n");
    for (qsizetype i = 0; i < tips.size(); ++i) {
        text += QString::number(i) + u'=' + tips[i] + u'\n';
    }
    return text.toUtf8();
}

}  // namespace

bool ReadTips(const QString& path, QStringList& tips, QString& error) {
    QByteArray bytes;
    if (platform::ReadRegularFile(path, bytes) != platform::ReadOutcome::Read) {
        error = QStringLiteral("Cannot read the tips file %1.").arg(QDir::toNativeSeparators(path));
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
                        .arg(QDir::toNativeSeparators(path))
                        .arg(platform::kMaxIniValueLength);
            return false;
        }
        tips << line;
    }
    if (tips.isEmpty()) {
        error =
            QStringLiteral("The tips file %1 holds no tip.").arg(QDir::toNativeSeparators(path));
        return false;
    }
    return true;
}

bool InstallSettingsFile(const SetupContext& context, QStringList& report) {
    QStringList tips;
    QString error;
    if (!ReadTips(QDir(context.dataFolder).filePath(QStringLiteral("tips.txt")), tips, error)) {
        report << error;
        return false;
    }
    const QString path = context.programFolder + platform::SettingsFileName(kProgramName);
    const QString shown = QDir::toNativeSeparators(path);
    const QFileInfo info(path);
    if (!info.exists() && !info.isSymLink()) {
        QString reason;
        platform::AtomicWriteOptions options;
        options.followLinks = false;
        options.replaceExisting = false;
        if (!platform::WriteFileAtomically(path, NewSettingsFile(tips), &reason, options)) {
            report << QStringLiteral("Unable to write to %1: %2").arg(shown, reason);
            return false;
        }
        report << QStringLiteral("Created the settings file %1 with %2 tips.")
                      .arg(shown)
                      .arg(tips.size());
        return true;
    }

    platform::IniFile ini(path);
    const bool hasSwitch = ini.SectionExists(keys::kTipOfTheDay);
    const bool hasTips = ini.SectionExists(keys::kTips);
    if (hasSwitch && hasTips) {
        report << QStringLiteral("Kept the settings file %1 as it is.").arg(shown);
        return true;
    }
    if (info.isSymLink()) {
        report << QStringLiteral(
                      "Unable to write to %1: it is a symbolic link, which the set-up does not "
                      "write through.")
                      .arg(shown);
        return false;
    }
    // Whatever is missing goes in with one replacement of the file, so that a set-up stopped at
    // any moment leaves either none of it or all of it, and the next run finishes the job.
    std::vector<platform::IniValue> values;
    const QString maximum = QString::number((hasTips ? TipsIn(ini) : tips.size()) - 1);
    if (!hasTips) {
        for (qsizetype i = 0; i < tips.size(); ++i)
            values.push_back({keys::kTips, QString::number(i), tips[i]});
    }
    if (!hasSwitch) {
        values.push_back({keys::kTipOfTheDay, keys::kEnabled, QStringLiteral("1")});
        values.push_back({keys::kTipOfTheDay, keys::kPosition, QStringLiteral("0")});
    }
    values.push_back({keys::kTipOfTheDay, keys::kMaximum, maximum});
    try {
        ini.WriteStrings(values);
    } catch (const platform::IniWriteError& e) {
        report << QString::fromUtf8(e.what());
        return false;
    }
    if (!hasTips) {
        report
            << QStringLiteral("Added %1 tips to the settings file %2.").arg(tips.size()).arg(shown);
    }
    if (!hasSwitch) {
        report << QStringLiteral("Added the tip of the day switch to the settings file %1.")
                      .arg(shown);
    }
    return true;
}

}  // namespace sw::setup
