// stripewright-setup: prepares the program folder for the current user.
//
//   stripewright-setup [--quiet] [--data FOLDER] [--documents FOLDER] [--fonts FOLDER]
//
// --quiet prints nothing when every step succeeds (the menu entry runs the set-up before each
// start of the program); failures are still reported on standard error.
// --data names the installed data folder (default: <dir of this program>/../share/stripewright),
// --documents the documents folder (default: the user's, from the XDG user folders), --fonts
// the folder the bar code fonts go to (default: the user's font folder).
#include <QCoreApplication>
#include <QDir>
#include <QTextStream>

#include "platform/paths.h"
#include "setup/install_fonts.h"
#include "setup/setup_steps.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    sw::setup::SetupContext context;
    context.dataFolder = QDir(QCoreApplication::applicationDirPath())
                             .filePath(QStringLiteral("../share/stripewright"));
    // Without a home folder the desktop's folders would fall back to the file system's root,
    // where nothing of ours belongs.
    const bool hasHome = !qEnvironmentVariableIsEmpty("HOME");
    if (hasHome) {
        context.documentsFolder = sw::platform::SystemDocumentsFolder();
        context.userFontFolder = sw::DefaultUserFontFolder();
    }

    bool quiet = false;
    const QStringList args = QCoreApplication::arguments().mid(1);
    for (qsizetype i = 0; i < args.size(); ++i) {
        const QString& arg = args[i];
        QString* folder = arg == QStringLiteral("--data")        ? &context.dataFolder
                          : arg == QStringLiteral("--documents") ? &context.documentsFolder
                          : arg == QStringLiteral("--fonts")     ? &context.userFontFolder
                                                                 : nullptr;
        if (folder && i + 1 < args.size()) {
            *folder = args[++i];
        } else if (arg == QStringLiteral("--quiet") || arg == QStringLiteral("-q")) {
            quiet = true;
        } else if (arg == QStringLiteral("--help") || arg == QStringLiteral("-h")) {
            out << "Usage: stripewright-setup [OPTION]...\n"
                   "Creates the Stripewright folder in your documents folder, puts the\n"
                   "program's files in it and installs the bar code fonts for you. Of the\n"
                   "files already there it replaces only older copies of its own fonts.\n"
                   "\n"
                   "The settings file gets the tips of the day; the label templates go beside\n"
                   "it. When the fonts are installed for every user, they are not copied.\n"
                   "\n"
                   "  -q, --quiet         print nothing unless a step fails\n"
                   "  --data FOLDER       the installed data folder (default: the program's\n"
                   "                      ../share/stripewright)\n"
                   "  --documents FOLDER  the documents folder (default: yours)\n"
                   "  --fonts FOLDER      where the fonts go (default: your font folder)\n"
                   "  -h, --help          show this text\n";
            return 0;
        } else {
            err << "stripewright-setup: unknown argument " << arg << " (try --help)\n";
            return 2;
        }
    }
    if (context.documentsFolder.isEmpty()) {
        err << "stripewright-setup: no documents folder was found (use --documents FOLDER).\n";
        return 1;
    }
    if (context.userFontFolder.isEmpty()) {
        err << "stripewright-setup: no font folder was found (use --fonts FOLDER).\n";
        return 1;
    }
    context.dataFolder = QDir::cleanPath(context.dataFolder);
    context.programFolder = sw::platform::ProgramFolderPath(context.documentsFolder);
    QString discarded;
    QTextStream silent(&discarded);
    return sw::setup::RunSetup(context, sw::setup::SetupSteps(), quiet ? silent : out, err);
}
