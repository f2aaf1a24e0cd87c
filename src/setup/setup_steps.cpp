#include "setup/setup_steps.h"

#include "setup/program_folder.h"
#include "setup/settings_file.h"

namespace sw::setup {

std::vector<SetupStep> SetupSteps() {
    return {
        {"program folder", &CreateProgramFolder},
        {"settings file", &InstallSettingsFile},
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
