#include "setup/setup_steps.h"

#include "platform/paths.h"
#include "setup/install_fonts.h"
#include "setup/install_templates.h"
#include "setup/program_folder.h"
#include "setup/settings_file.h"
#include "setup/system_fonts.h"

namespace sw::setup {
namespace {

bool InstallLabelTemplates(const SetupContext& context, QStringList& report) {
    QString error;
    const QByteArray from = platform::JoinPath(context.dataFolder, "templates");
    if (!InstallTemplates(from, context.programFolder, &error)) {
        report << error;
        return false;
    }
    report << QStringLiteral("Label templates are in %1.")
                  .arg(platform::ShownPath(context.programFolder));
    return true;
}

bool InstallBarcodeFonts(const SetupContext& context, QStringList& report) {
    if (FontsInstalledForTheSystem(context.dataFolder)) {
        report << QStringLiteral("The bar code fonts are installed for every user in %1.")
                      .arg(platform::ShownPath(SystemFontFolder(context.dataFolder)));
        return true;
    }
    QString error;
    const QByteArray from = platform::JoinPath(context.dataFolder, "fonts");
    if (!InstallFonts(from, context.userFontFolder, &error)) {
        report << error;
        return false;
    }
    report << QStringLiteral("The bar code fonts are installed in %1.")
                  .arg(platform::ShownPath(context.userFontFolder));
    return true;
}

}  // namespace

std::vector<SetupStep> SetupSteps() {
    return {
        {"program folder", &CreateProgramFolder},
        {"settings file", &InstallSettingsFile},
        {"label templates", &InstallLabelTemplates},
        {"fonts", &InstallBarcodeFonts},
    };
}

int RunSetup(const SetupContext& context, const std::vector<SetupStep>& steps, QTextStream& out,
             QTextStream& err) {
    for (const SetupStep& step : steps) {
        QStringList report;
        const bool ok = step.run(context, report);
        for (const QString& line : report) (ok ? out : err) << line << '\n';
        if (!ok) {
            err << "Set-up stopped at the " << step.name << " step.\n";
            return 1;
        }
    }
    out.flush();
    return 0;
}

}  // namespace sw::setup
