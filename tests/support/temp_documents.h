// A temporary documents folder with the program folder in it, and helpers to write and read the
// settings file there.
#pragma once

#include <QDir>
#include <QFile>
#include <QString>
#include <QTemporaryDir>

#include "platform/paths.h"

namespace sw::testing {

class TempDocuments {
  public:
    explicit TempDocuments(bool withProgramFolder = true) {
        documents = dir.path() + QStringLiteral("/Documents");
        QDir().mkpath(documents);
        if (withProgramFolder)
            QDir().mkpath(ProgramFolder());
    }

    QString ProgramFolder() const { return platform::ProgramFolderPath(documents); }
    QString SettingsPath() const {
        return platform::SettingsFilePath(documents, QStringLiteral("stripewright"));
    }

    void WriteSettings(const QByteArray& content) const {
        QFile file(SettingsPath());
        if (file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            file.write(content);
    }
    QByteArray ReadSettings() const {
        QFile file(SettingsPath());
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir dir;
    QString documents;
};

}  // namespace sw::testing
