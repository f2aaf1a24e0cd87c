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
#include <QFile>
#include <QTextStream>

#include "platform/paths.h"
#include "setup/install_fonts.h"
#include "setup/setup_steps.h"

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    QTextStream out(stdout);
    QTextStream err(stderr);

    // Folder names are taken from the arguments and the environment as bytes and handed to the
    // system as they are: a name that is not UTF-8 names the folder it names.
    sw::setup::SetupContext context;
    context.dataFolder = QFile::encodeName(QDir(QCoreApplication::applicationDirPath())
                                               .filePath(QStringLiteral("../share/stripewright")));
    // Without a home folder (HOME unset, empty or relative) the desktop's folders would fall
    // back to the file system's root or the working folder, where nothing of ours belongs.
    if (!sw::platform::HomeFolder().isEmpty()) {
        context.documentsFolder = sw::platform::DocumentsFolderBytes();
        context.userFontFolder = sw::DefaultUserFontFolder();
    }

    bool quiet = false;
    for (int i = 1; i < argc; ++i) {
        const QByteArray arg = argv[i];
        QByteArray* folder = arg == "--data"        ? &context.dataFolder
                             : arg == "--documents" ? &context.documentsFolder
                             : arg == "--fonts"     ? &context.userFontFolder
                                                    : nullptr;
        if (folder && i + 1 < argc) {
            *folder = argv[++i];
        } else if (arg == "--quiet" || arg == "-q") {
            quiet = true;
        } else if (arg == "--help" || arg == "-h") {
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
            err << "stripewright-setup: unknown argument " << QFile::decodeName(arg)
                << " (try --help)\n";
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
    // Cleaned as Latin-1, which maps every byte to one character and back.
    context.dataFolder = QDir::cleanPath(QString::fromLatin1(context.dataFolder)).toLatin1();
    context.programFolder = sw::platform::ProgramFolderPath(context.documentsFolder);
    QString discarded;
    QTextStream silent(&discarded);
    return sw::setup::RunSetup(context, sw::setup::SetupSteps(), quiet ? silent : out, err);
}
