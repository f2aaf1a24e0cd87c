// The start-up sequence: program folder check, restoring the last run (or a first run's
// defaults), then the update reminder or the tip of the day.
#include <QDir>
#include <limits>

#include "app/main_window.h"
#include "dialogs/label_dialog.h"
#include "dialogs/tip_of_the_day.h"
#include "dialogs/update_reminder.h"
#include "output/vendor.h"
#include "platform/ini_file.h"
#include "platform/window_place.h"
#include "settings/settings_keys.h"

namespace sw {

using platform::IniFile;
using platform::MonthStamp;

void TForm1::FormActivate() {
    StaticText3->setToolTip(
        QStringLiteral("Version ") +
        QString::fromUtf8(kProgramVersion.data(), static_cast<qsizetype>(kProgramVersion.size())));
    tooltips_.SetHideDelay(6000);
    // Places are frame corners: the window manager's frame must be round the window first.
    platform::AwaitFrame(this);

    const QString folder = ProgramFolder();
    FolderFound = desktop().DirectoryExists(folder);
    if (!FolderFound) {
        // A first start from anywhere but the menu: the set-up makes the folder, as the menu
        // entry has it do before every start.
        const QString reason = desktop().RunSetup();
        FolderFound = desktop().DirectoryExists(folder);
        if (!FolderFound) {
            QString message =
                QStringLiteral("The folder %1 is missing, please re-install this product.")
                    .arg(QDir::toNativeSeparators(folder));
            if (!reason.isEmpty())
                message += u'\n' + reason;
            desktop().WarningBox(this, message, MessagePlace());
        }
    }

    // The Code 3 of 9 layout, before anything is read.
    OptionalChecksum->show();
    FontSize->show();
    Tall->show();
    PointSize->setEditText(keys::kDefaultPointSize);
    const std::string_view description = Info(BarCodeType::Type39).description;
    SetTypeDescription(
        QString::fromUtf8(description.data(), static_cast<qsizetype>(description.size())));
    BarCodeMade = false;

    if (FolderFound) {
        if (IniFile(SettingsPath()).SectionExists(keys::kSettings)) {
            RestoreSettings();
        } else {
            WriteFirstRunSettings();
        }
        ChooseTipOrReminder();
    }

    BarTextInput->SetKeepSelection(true);
    BarTextInput->selectAll();
    BarTextInput->setFocus();
}

void TForm1::RestoreSettings() {
    IniFile ini(SettingsPath());
    using namespace keys;
    const int stored = ini.ReadInteger(kSettings, kCount, kMissingCount);
    // The counter stops at the largest integer rather than wrapping round.
    RunCounter = stored < std::numeric_limits<int>::max() ? stored + 1 : stored;
    ini.WriteInteger(kSettings, kCount, RunCounter);
    if (RunCounter == 1) {
        ini.WriteInteger(kSettings, kInstDt, MonthStamp(desktop().Today()));
    } else {
        CurrentStamp = MonthStamp(desktop().Today());
        InstallStamp = ini.ReadInteger(kSettings, kInstDt, kMissingInstDt);
    }

    if (ini.ReadBool(kSettings, kHintsOff, false))
        tooltips_.SetEnabled(false);
    platform::RestoreFramePosition(
        this, QPoint(ini.ReadInteger(kSettings, kLeft, 0), ini.ReadInteger(kSettings, kTop, 0)));

    SelectType(TypeFromSetting(ini.ReadString(kSettings, kType, kDefaultType).toStdString()));
    BarTextInput->setText(ini.ReadString(kSettings, kData, kDefaultData));
    const BarHeight height =
        HeightFromSetting(ini.ReadString(kSettings, kFontSize, kDefaultFontSize).toStdString());
    (height == BarHeight::Short    ? Short
     : height == BarHeight::Normal ? Normal
                                   : Tall)
        ->setChecked(true);
    PointSize->setEditText(ini.ReadString(kSettings, kPointSize, kDefaultPointSize));
    OptionalChecksum->setChecked(ini.ReadBool(kSettings, kChecksum, false));
    SetLabelChoices(ini.ReadInteger(kSettings, kLabelSize, kDefaultLabelSize),
                    ini.ReadBool(kSettings, kLabelExplain, true));
}

void TForm1::WriteFirstRunSettings() {
    IniFile ini(SettingsPath());
    using namespace keys;
    ini.WriteInteger(kSettings, kCount, 1);
    ini.WriteBool(kSettings, kHintsOff, false);
    const QPoint place = platform::FramePosition(this);
    ini.WriteInteger(kSettings, kLeft, place.x());
    ini.WriteInteger(kSettings, kTop, place.y());
    ini.WriteString(kSettings, kType, kDefaultType);
    ini.WriteString(kSettings, kData, kDefaultData);
    ini.WriteString(kSettings, kFontSize, kDefaultFontSize);
    ini.WriteString(kSettings, kPointSize, kDefaultPointSize);
    ini.WriteBool(kSettings, kChecksum, false);
    ini.WriteInteger(kSettings, kLabelSize, kDefaultLabelSize);
    ini.WriteBool(kSettings, kLabelExplain, true);
    ini.WriteInteger(kSettings, kInstDt, MonthStamp(desktop().Today()));
}

void TForm1::ChooseTipOrReminder() {
    IniFile ini(SettingsPath());
    using namespace keys;
    if (UpdateReminderDue(CurrentStamp, InstallStamp)) {
        if (TForm4* reminder = Form4) {
            reminder->StopRequest = 0;
            desktop().ShowModal(reminder);
            if (reminder->StopRequest == 1) {
                ini.WriteInteger(kSettings, kInstDt, MonthStamp(desktop().Today()));
                reminder->StopRequest = 0;
            }
        }
        // Setting the box runs its click handler, which writes the value just read back.
        TipCheckBox->setChecked(ini.ReadBool(kTipOfTheDay, kEnabled, true));
        return;
    }
    if (!ini.SectionExists(kTipOfTheDay)) {
        desktop().WarningBox(this, kTipFileMissing, MessagePlace());
        return;
    }
    TipCheckBox->setChecked(ini.ReadBool(kTipOfTheDay, kEnabled, true));
    if (TipCheckBox->isChecked() && Tip.get())
        desktop().ShowModal(Tip);
}

}  // namespace sw
