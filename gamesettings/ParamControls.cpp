#include "ParamControls.h"

#include "FileLabel.h"
#include "GameParamUnit.h"
#include "PartivaEntries.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

using F = TGameParamForm;
using S = TGameSettings;

// A caption whose entry bears its own name, or one that shares an entry with others.
consteval ParamControl boldCaption(std::string_view name, QLabel* F::*member, int line)
{
    return {name, member, ControlKind::BoldCaption, &PartivaText(name), {}, line};
}
consteval ParamControl boldCaption(std::string_view name, QLabel* F::*member, std::string_view entry, int line)
{
    return {name, member, ControlKind::BoldCaption, &PartivaText(entry), {}, line};
}
consteval ParamControl caption(std::string_view name, QLabel* F::*member, std::string_view entry, int line)
{
    return {name, member, ControlKind::Caption, &PartivaText(entry), {}, line};
}
consteval ParamControl numberEdit(std::string_view name, QLineEdit* F::*member, ControlValue value, int line, int tab)
{
    return {name, member, ControlKind::NumberEdit, nullptr, value, line, tab};
}
consteval ParamControl fileLabel(std::string_view name, TFileLabel* F::*member, std::string S::*value, int line,
                                 FileDialogRequest F::*dialog)
{
    return {name, member, ControlKind::FileLabel, nullptr, value, line, 0, dialog};
}
consteval ParamControl soundLabel(std::string_view name, TFileLabel* F::*member, std::string S::*value, int line)
{
    return {name, member, ControlKind::SoundLabel, nullptr, value, line};
}
consteval ParamControl clearButton(std::string_view name, QPushButton* F::*member, std::string S::*value, int line, int tab)
{
    return {name, member, ControlKind::ClearButton, &PartivaText("ClearButtons"), value, line, tab};
}

constexpr ParamControl controls[] = {
    boldCaption("Label1", &F::Label1, 0),
    {"GameTitleText", &F::GameTitleText, ControlKind::TextEdit, nullptr, &S::GameTitle, 0, 1},

    boldCaption("Label2", &F::Label2, 1),
    soundLabel("MenuSoundLabel", &F::MenuSoundLabel, &S::MenuSound, 1),
    boldCaption("Label3", &F::Label3, 2),
    soundLabel("TimerSoundLabel", &F::TimerSoundLabel, &S::TimerSound, 2),
    boldCaption("Label4", &F::Label4, 3),
    soundLabel("CameraSoundLabel", &F::CameraSoundLabel, &S::CameraSound, 3),

    boldCaption("Label5", &F::Label5, 4),
    numberEdit("CameraMinDistanceText", &F::CameraMinDistanceText, &S::CameraMinDistance, 4, 2),
    boldCaption("Label6", &F::Label6, 4),
    numberEdit("CameraMaxDistanceText", &F::CameraMaxDistanceText, &S::CameraMaxDistance, 4, 3),
    boldCaption("Label7", &F::Label7, 4),
    numberEdit("CameraStepText", &F::CameraStepText, &S::CameraStep, 4, 4),

    boldCaption("Label48", &F::Label48, 5),
    fileLabel("SmallFontLabel", &F::SmallFontLabel, &S::SmallFontBitmap, 5, &F::PCXDialog),
    clearButton("ClearSmallFontButton", &F::ClearSmallFontButton, &S::SmallFontBitmap, 5, 39),
    caption("Label49", &F::Label49, "FontWidthLabels", 5),
    numberEdit("SmallFontWidthText", &F::SmallFontWidthText, &S::SmallFontWidth, 5, 40),
    caption("Label50", &F::Label50, "FontHeightLabels", 5),
    numberEdit("SmallFontHeightText", &F::SmallFontHeightText, &S::SmallFontHeight, 5, 41),

    boldCaption("Label51", &F::Label51, 6),
    fileLabel("BigFontLabel", &F::BigFontLabel, &S::BigFontBitmap, 6, &F::PCXDialog),
    clearButton("ClearBigFontButton", &F::ClearBigFontButton, &S::BigFontBitmap, 6, 42),
    caption("Label53", &F::Label53, "FontWidthLabels", 6),
    numberEdit("BigFontWidthText", &F::BigFontWidthText, &S::BigFontWidth, 6, 43),
    caption("Label54", &F::Label54, "FontHeightLabels", 6),
    numberEdit("BigFontHeightText", &F::BigFontHeightText, &S::BigFontHeight, 6, 44),

    boldCaption("Label8", &F::Label8, 7),
    {"StartLevelLabel", &F::StartLevelLabel, ControlKind::LevelLabel, nullptr, &S::StartLevel, 7, 0, &F::StartLevelDialog},

    boldCaption("Label9", &F::Label9, 8),
    fileLabel("HelpFileLabel", &F::HelpFileLabel, &S::HelpFile, 8, &F::HelpDialog),
    clearButton("ClearHelpFileButton", &F::ClearHelpFileButton, &S::HelpFile, 8, 5),

    boldCaption("Label10", &F::Label10, 9),
    numberEdit("StartSaveNumberText", &F::StartSaveNumberText, &S::StartSaveNumber, 9, 6),

    boldCaption("Label11", &F::Label11, 10),
    numberEdit("TimerHealthText", &F::TimerHealthText, &S::TimerHealth, 10, 7),
    caption("Label12", &F::Label12, "LeftLabels", 10),
    numberEdit("TimerLeftText", &F::TimerLeftText, &S::TimerLeft, 10, 8),
    caption("Label13", &F::Label13, "TopLabels", 10),
    numberEdit("TimerTopText", &F::TimerTopText, &S::TimerTop, 10, 9),

    boldCaption("Label14", &F::Label14, 11),
    fileLabel("CrossIconLabel", &F::CrossIconLabel, &S::CrossIcon, 11, &F::PCXDialog),
    clearButton("ClearCrossButton", &F::ClearCrossButton, &S::CrossIcon, 11, 10),
    caption("Label15", &F::Label15, "LeftLabels", 12),
    numberEdit("CrossLeftText", &F::CrossLeftText, &S::CrossLeft, 12, 11),
    caption("Label16", &F::Label16, "TopLabels", 12),
    numberEdit("CrossTopText", &F::CrossTopText, &S::CrossTop, 12, 12),
    caption("Label17", &F::Label17, "IconWidthLabels", 12),
    numberEdit("CrossWidthText", &F::CrossWidthText, &S::CrossWidth, 12, 13),
    caption("Label18", &F::Label18, "IconHeightLabels", 12),
    numberEdit("CrossHeightText", &F::CrossHeightText, &S::CrossHeight, 12, 14),
    caption("Label19", &F::Label19, "AlphaLabels", 12),
    numberEdit("CrossAlphaText", &F::CrossAlphaText, &S::CrossAlpha, 12, 15),

    boldCaption("Label20", &F::Label20, 13),
    fileLabel("LifeIconLabel", &F::LifeIconLabel, &S::LifeIcon, 13, &F::PCXDialog),
    clearButton("ClearLifeIcon", &F::ClearLifeIcon, &S::LifeIcon, 13, 16),
    caption("Label22", &F::Label22, "LeftLabels", 14),
    numberEdit("LifeIconLeftText", &F::LifeIconLeftText, &S::LifeLeft, 14, 17),
    caption("Label23", &F::Label23, "TopLabels", 14),
    numberEdit("LifeIconTopText", &F::LifeIconTopText, &S::LifeTop, 14, 18),
    caption("Label24", &F::Label24, "IconWidthLabels", 14),
    numberEdit("LifeIconWidthText", &F::LifeIconWidthText, &S::LifeWidth, 14, 19),
    caption("Label25", &F::Label25, "IconHeightLabels", 14),
    numberEdit("LifeIconHeightText", &F::LifeIconHeightText, &S::LifeHeight, 14, 20),
    caption("Label26", &F::Label26, "AlphaLabels", 14),
    numberEdit("LifeIconAlphaText", &F::LifeIconAlphaText, &S::LifeAlpha, 14, 21),

    boldCaption("Label28", &F::Label28, 15),
    caption("Label21", &F::Label21, "LeftLabels", 15),
    numberEdit("LifeStringLeftText", &F::LifeStringLeftText, &S::LifeStringLeft, 15, 22),
    caption("Label27", &F::Label27, "TopLabels", 15),
    numberEdit("LifeStringTopText", &F::LifeStringTopText, &S::LifeStringTop, 15, 23),

    // The counts of the inventory and the weapon take a line of their own: the page is too
    // narrow for four fraction edits and their captions on one line.
    boldCaption("Label37", &F::Label37, 16),
    caption("Label29", &F::Label29, "LeftLabels", 16),
    numberEdit("InventoryLeftText", &F::InventoryLeftText, &S::InventoryLeft, 16, 24),
    caption("Label30", &F::Label30, "TopLabels", 16),
    numberEdit("InventoryTopText", &F::InventoryTopText, &S::InventoryTop, 16, 25),
    caption("Label33", &F::Label33, "AlphaLabels", 16),
    numberEdit("InventoryAlphaText", &F::InventoryAlphaText, &S::InventoryAlpha, 16, 26),
    boldCaption("Label36", &F::Label36, 17),
    caption("Label34", &F::Label34, "LeftLabels", 17),
    numberEdit("InventoryStringLeftText", &F::InventoryStringLeftText, &S::InventoryStringLeft, 17, 27),
    caption("Label35", &F::Label35, "TopLabels", 17),
    numberEdit("InventoryStringTopText", &F::InventoryStringTopText, &S::InventoryStringTop, 17, 28),

    boldCaption("Label42", &F::Label42, 18),
    caption("Label31", &F::Label31, "LeftLabels", 18),
    numberEdit("WeaponLeftText", &F::WeaponLeftText, &S::WeaponLeft, 18, 29),
    caption("Label32", &F::Label32, "TopLabels", 18),
    numberEdit("WeaponTopText", &F::WeaponTopText, &S::WeaponTop, 18, 30),
    caption("Label38", &F::Label38, "AlphaLabels", 18),
    numberEdit("WeaponAlphaText", &F::WeaponAlphaText, &S::WeaponAlpha, 18, 31),
    boldCaption("Label41", &F::Label41, 19),
    caption("Label39", &F::Label39, "LeftLabels", 19),
    numberEdit("WeaponStringLeftText", &F::WeaponStringLeftText, &S::WeaponStringLeft, 19, 32),
    caption("Label40", &F::Label40, "TopLabels", 19),
    numberEdit("WeaponStringTopText", &F::WeaponStringTopText, &S::WeaponStringTop, 19, 33),

    boldCaption("Label46", &F::Label46, 20),
    fileLabel("DeveloperVideoLabel", &F::DeveloperVideoLabel, &S::DeveloperVideo, 20, &F::OpenVideoDialog),
    clearButton("DeveloperVideoClearButton", &F::DeveloperVideoClearButton, &S::DeveloperVideo, 20, 38),
    boldCaption("Label43", &F::Label43, 21),
    fileLabel("IntroVideoLabel", &F::IntroVideoLabel, &S::IntroVideo, 21, &F::OpenVideoDialog),
    clearButton("IntroVideoClearButton", &F::IntroVideoClearButton, &S::IntroVideo, 21, 34),
    boldCaption("Label44", &F::Label44, 22),
    fileLabel("IntroMusicLabel", &F::IntroMusicLabel, &S::IntroMusic, 22, &F::OpenMusicDialog),
    clearButton("IntroMusicClearButton", &F::IntroMusicClearButton, &S::IntroMusic, 22, 35),
    boldCaption("Label45", &F::Label45, 23),
    fileLabel("ExtroVideoLabel", &F::ExtroVideoLabel, &S::ExtroVideo, 23, &F::OpenVideoDialog),
    clearButton("ExtroVideoClearButton", &F::ExtroVideoClearButton, &S::ExtroVideo, 23, 36),
    boldCaption("Label47", &F::Label47, 24),
    fileLabel("ExtroMusicLabel", &F::ExtroMusicLabel, &S::ExtroMusic, 24, &F::OpenMusicDialog),
    clearButton("ExtroMusicClearButton", &F::ExtroMusicClearButton, &S::ExtroMusic, 24, 37),
};

} // namespace

std::span<const ParamControl> ParamControls() { return controls; }

QWidget* ControlWidget(TGameParamForm& form, const ParamControl& control)
{
    return std::visit([&](auto member) -> QWidget* { return form.*member; }, control.member);
}
