// Control identifiers of the skin gallery; tests and the UI driver find its controls by them.
#pragma once

namespace galleryids {
// Push buttons.
inline constexpr int pushNormal = 101;
inline constexpr int pushDefault = 102;
inline constexpr int pushDisabled = 103;
inline constexpr int pushLeft = 104;
inline constexpr int pushRight = 105;
inline constexpr int pushTop = 106;
inline constexpr int pushBottom = 107;
inline constexpr int pushAmpersand = 108;
// Check boxes.
inline constexpr int checkSet = 201;
inline constexpr int checkClear = 202;
inline constexpr int checkDisabledSet = 203;
inline constexpr int checkDisabledClear = 204;
inline constexpr int checkLeftText = 205;
// Radio buttons: two group boxes of the same parent.
inline constexpr int radioA1 = 301;
inline constexpr int radioA2 = 302;
inline constexpr int radioA3Disabled = 303;
inline constexpr int radioB1 = 311;
inline constexpr int radioB2LeftText = 312;
inline constexpr int radioB3Disabled = 313;
// Owner-drawn drop-down buttons.
inline constexpr int dropDown24 = 401;
inline constexpr int dropDown21 = 402;
inline constexpr int dropDown16 = 403;
inline constexpr int dropDownDisabled = 404;
// Edit boxes.
inline constexpr int editSunken = 501;
inline constexpr int editBorder = 502;
inline constexpr int editPlain = 503;
inline constexpr int editDisabled = 504;
inline constexpr int editVScroll = 505;
inline constexpr int editHScroll = 506;
// Combo boxes.
inline constexpr int comboSimple = 601;
inline constexpr int comboDropDown = 602;
inline constexpr int comboDropDownList = 603;
inline constexpr int comboDisabled = 604;
// Progress bars.
inline constexpr int progressBlocks = 701;
inline constexpr int progressSmooth = 702;
inline constexpr int progressMoving = 703;
inline constexpr int progressVertical = 704;
inline constexpr int progressVerticalSmooth = 705;
// Group boxes and the status line.
inline constexpr int groupPush = 901;
inline constexpr int groupCheck = 902;
inline constexpr int groupRadioA = 903;
inline constexpr int groupRadioB = 904;
inline constexpr int groupDropDown = 905;
inline constexpr int groupEdit = 906;
inline constexpr int groupCombo = 907;
inline constexpr int groupProgress = 908;
inline constexpr int status = 999;
}  // namespace galleryids

// Window text of the gallery's top-level window, for finding it from outside.
inline constexpr char galleryTitle[] = "Certivex 皮肤样板 Skin gallery";
