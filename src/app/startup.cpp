// The start-up sequence: program folder check, restoring the last run (or a first run's
// defaults), then the update reminder or the tip of the day. A settings write that fails here
// stops nothing of the restore: every value is read, the failure is reported once, and the
// close then writes back only what the user changed.
#include <QDir>
#include <limits>

#include "app/main_window.h"
#include "dialogs/label_dialog.h"
#include "dialogs/tip_of_the_day.h"
#include "dialogs/update_reminder.h"
#include "output/vendor.h"
#include "platform/handlers.h"
#include "platform/ini_file.h"
#include "platform/window_place.h"
#include "settings/settings_keys.h"

namespace sw {

using platform::IniFile;
using platform::IniSnapshot;
using platform::IniValue;
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

    std::exception_ptr writeFailure;
    if (FolderFound) {
        IniSnapshot file;
        writeFailure = StartSettings(file);
        if (writeFailure) {
            // As when the error ends the start-up: no tip and no reminder, whose own writes
            // would fail again. The tip switch is still restored.
            TipCheckBox->setChecked(file.ReadBool(keys::kTipOfTheDay, keys::kEnabled, true));
        } else {
            ChooseTipOrReminder(file);
        }
    }

    BarTextInput->SetKeepSelection(true);
    BarTextInput->selectAll();
    BarTextInput->setFocus();
    if (writeFailure) {
        // The close writes back only what changes from here on (FormClose).
        startState_ = WindowState();
        platform::ReportEscapedError(desktop(), this, writeFailure);
    }
}

std::exception_ptr TForm1::StartSettings(IniSnapshot& file) {
    IniFile ini(SettingsPath());
    bool read = false;
    // The counter is read and written back in one step that no other writer of ours can come
    // between; a first run writes its defaults in that same step.
    const auto change = [this, &file, &read](const IniSnapshot& now) {
        file = now;
        read = true;
        return now.SectionExists(keys::kSettings) ? CountRun(now) : FirstRunValues();
    };
    std::exception_ptr failure;
    try {
        ini.Update(change);
    } catch (const platform::IniWriteError&) {
        // The write failed, or the file could not be read for it: whatever reading gives is
        // restored all the same, and the failure is reported once.
        failure = std::current_exception();
        if (!read)
            change(ini.Read());
    }
    if (file.SectionExists(keys::kSettings))
        RestoreSettings(file);
    return failure;
}

std::vector<IniValue> TForm1::CountRun(const IniSnapshot& ini) {
    using namespace keys;
    const int stored = ini.ReadInteger(kSettings, kCount, kMissingCount);
    // The counter stops at the largest integer rather than wrapping round.
    RunCounter = stored < std::numeric_limits<int>::max() ? stored + 1 : stored;
    std::vector<IniValue> values = {{kSettings, kCount, QString::number(RunCounter)}};
    if (RunCounter == 1) {
        values.push_back({kSettings, kInstDt, QString::number(MonthStamp(desktop().Today()))});
    } else {
        CurrentStamp = MonthStamp(desktop().Today());
        InstallStamp = ini.ReadInteger(kSettings, kInstDt, kMissingInstDt);
    }
    return values;
}

void TForm1::RestoreSettings(const IniSnapshot& ini) {
    using namespace keys;
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

std::vector<IniValue> TForm1::FirstRunValues() const {
    using namespace keys;
    const auto number = [](int n) { return QString::number(n); };
    const QPoint place = platform::FramePosition(this);
    return {
        {kSettings, kCount, number(1)},
        {kSettings, kHintsOff, number(0)},
        {kSettings, kLeft, number(place.x())},
        {kSettings, kTop, number(place.y())},
        {kSettings, kType, kDefaultType},
        {kSettings, kData, kDefaultData},
        {kSettings, kFontSize, kDefaultFontSize},
        {kSettings, kPointSize, kDefaultPointSize},
        {kSettings, kChecksum, number(0)},
        {kSettings, kLabelSize, number(kDefaultLabelSize)},
        {kSettings, kLabelExplain, number(1)},
        {kSettings, kInstDt, number(MonthStamp(desktop().Today()))},
    };
}

void TForm1::ChooseTipOrReminder(const IniSnapshot& file) {
    using namespace keys;
    if (UpdateReminderDue(CurrentStamp, InstallStamp)) {
        if (TForm4* reminder = Form4) {
            reminder->StopRequest = 0;
            desktop().ShowModal(reminder);
            if (reminder->StopRequest == 1) {
                IniFile(SettingsPath())
                    .WriteInteger(kSettings, kInstDt, MonthStamp(desktop().Today()));
                reminder->StopRequest = 0;
            }
        }
        // Setting the box runs its click handler, which writes the value just read back.
        TipCheckBox->setChecked(file.ReadBool(kTipOfTheDay, kEnabled, true));
        return;
    }
    if (!file.SectionExists(kTipOfTheDay)) {
        desktop().WarningBox(this, kTipFileMissing, MessagePlace());
        return;
    }
    TipCheckBox->setChecked(file.ReadBool(kTipOfTheDay, kEnabled, true));
    if (TipCheckBox->isChecked() && Tip.get())
        desktop().ShowModal(Tip);
}

}  // namespace sw
