#include "setup/settings_file.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStringDecoder>

#include "app/settings_keys.h"
#include "platform/atomic_file.h"
#include "platform/ini_file.h"
#include "platform/paths.h"

namespace sw::setup {

namespace {

const QString kProgramName = QStringLiteral("stripewright");

void WriteTips(platform::IniFile& ini, const QStringList& tips) {
    for (qsizetype i = 0; i < tips.size(); ++i) {
        ini.WriteString(keys::kTips, QString::number(i), tips[i]);
    }
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
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("Cannot read the tips file %1.").arg(QDir::toNativeSeparators(path));
        return false;
    }
    QStringDecoder utf8(QStringDecoder::Utf8);
    const QString text = utf8(file.readAll());
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
    if (!QFileInfo::exists(path)) {
        if (!platform::WriteFileAtomically(path, NewSettingsFile(tips))) {
            report << QStringLiteral("Unable to write to %1").arg(shown);
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
    try {
        // The tips first: the switch section is what marks the file as complete.
        if (!hasTips) {
            WriteTips(ini, tips);
            if (hasSwitch) {
                ini.WriteInteger(keys::kTipOfTheDay, keys::kMaximum,
                                 static_cast<int>(tips.size()) - 1);
            }
            report << QStringLiteral("Added %1 tips to the settings file %2.")
                          .arg(tips.size())
                          .arg(shown);
        }
        if (!hasSwitch) {
            ini.WriteBool(keys::kTipOfTheDay, keys::kEnabled, true);
            ini.WriteInteger(keys::kTipOfTheDay, keys::kPosition, 0);
            ini.WriteInteger(keys::kTipOfTheDay, keys::kMaximum,
                             hasTips ? ini.ReadInteger(keys::kTipOfTheDay, keys::kMaximum, 0)
                                     : static_cast<int>(tips.size()) - 1);
            report << QStringLiteral("Added the tip of the day switch to the settings file %1.")
                          .arg(shown);
        }
    } catch (const platform::IniWriteError& e) {
        report << QString::fromUtf8(e.what());
        return false;
    }
    return true;
}

}  // namespace sw::setup
