// Writing the window's state to the settings file: the tip check box at once, the rest at close.
#include "app/main_window.h"
#include "platform/ini_file.h"
#include "platform/window_place.h"
#include "settings/settings_keys.h"

namespace sw {

void TForm1::TipCheckBoxClick() {
    if (FolderFound) {
        platform::IniFile(SettingsPath())
            .WriteBool(keys::kTipOfTheDay, keys::kEnabled, TipCheckBox->isChecked());
    }
    BarTextInput->setFocus();
}

void TForm1::FormClose() {
    if (!FolderFound)
        return;
    using namespace keys;
    const auto flag = [](bool on) { return on ? QStringLiteral("1") : QStringLiteral("0"); };
    const QPoint place = platform::FramePosition(this);
    // One rewrite of the file for the whole state: closing waits on the disk once.
    platform::IniFile(SettingsPath())
        .WriteStrings({
            {kTipOfTheDay, kEnabled, flag(TipCheckBox->isChecked())},
            {kSettings, kLeft, QString::number(place.x())},
            {kSettings, kTop, QString::number(place.y())},
            {kSettings, kType, TypeSetting()},
            {kSettings, kData, BarTextInput->text()},
            {kSettings, kFontSize, HeightSetting()},
            {kSettings, kPointSize, PointSize->currentText()},
            {kSettings, kChecksum, flag(OptionalChecksum->isChecked())},
            {kSettings, kLabelSize, QString::number(LabelSizeChoice())},
            {kSettings, kLabelExplain, flag(ExplainPasteChoice())},
        });
}

}  // namespace sw
