// Writing the window's state to the settings file: the tip check box at once, the rest at close.
#include "app/main_window.h"
#include "app/settings_keys.h"
#include "dialogs/label_dialog.h"
#include "platform/ini_file.h"

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
    platform::IniFile ini(SettingsPath());
    using namespace keys;
    ini.WriteBool(kTipOfTheDay, kEnabled, TipCheckBox->isChecked());
    ini.WriteInteger(kSettings, kLeft, x());
    ini.WriteInteger(kSettings, kTop, y());
    ini.WriteString(kSettings, kType, TypeSetting());
    ini.WriteString(kSettings, kData, BarTextInput->text());
    ini.WriteString(kSettings, kFontSize, HeightSetting());
    ini.WriteString(kSettings, kPointSize, PointSize->currentText());
    ini.WriteBool(kSettings, kChecksum, OptionalChecksum->isChecked());
    ini.WriteInteger(kSettings, kLabelSize, Form3 ? Form3->LabelSize() : kDefaultLabelSize);
    ini.WriteBool(kSettings, kLabelExplain, Form3 ? Form3->ExplainPaste->isChecked() : true);
}

}  // namespace sw
