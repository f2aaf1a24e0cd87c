// The set-up for one user: a list of steps, each a function of its own, run in order. Each
// step puts its files in place without ever overwriting one the user already has.
#pragma once

#include <QByteArray>
#include <QString>
#include <QTextStream>
#include <vector>

namespace sw::setup {

// The folders as the system holds their names: bytes, handed to it unchanged, so that a name
// that is not UTF-8 is the one used (messages show them through platform::ShownPath).
struct SetupContext {
    QByteArray dataFolder;       // the installed data: <prefix>/share/stripewright
    QByteArray documentsFolder;  // the user's documents folder
    QByteArray programFolder;    // documents + "/Stripewright/"
    QByteArray userFontFolder;   // where the user's own fonts live
};

// A step reports what it did (or why it failed) in `report`, one line per item.
using SetupStepFunction = bool (*)(const SetupContext& context, QStringList& report);

struct SetupStep {
    const char* name;
    SetupStepFunction run;
};

// The steps in the order they run.
std::vector<SetupStep> SetupSteps();

// Runs every step, writing their reports to `out` and failures to `err`. A failed step stops
// the set-up, since later steps put files into what earlier ones made. Returns 0 on success.
int RunSetup(const SetupContext& context, const std::vector<SetupStep>& steps, QTextStream& out,
             QTextStream& err);

}  // namespace sw::setup
