// The form of MainWindow: every control with its form name, place, size, text and font.
#pragma once
#include <windows.h>


#include "app/ids.h"

inline constexpr char mainWindowCaption[] = "[Varnholt.Kestrune]Certivex";
inline constexpr int mainWindowWidth = 614;
inline constexpr int mainWindowHeight = 482;
inline constexpr DWORD mainWindowStyle = WS_CAPTION | WS_SYSMENU | WS_CLIPCHILDREN;

// Top-left coordinate that centres a window on a screen; truncated toward zero, so a window larger
// than the screen gets a negative position.
constexpr int centredOrigin(int screenSize, int windowSize) { return (screenSize - windowSize) / 2; }

enum class ControlKind { TransparentLabel, ListBox, PictureBox, EditBox, PushButton };
enum class ControlParent { MainWindow, CertificateView };

// Fonts of the labels. Every other control, and the labels marked DefaultGui, use the default GUI font.
enum class LabelFont { DefaultGui, Song10, Song12, Kai12, Kai12Bold, Serial12Bold };

struct FontDescription {
    int height;  // negative: character height in pixels
    int weight;
    BYTE charset;
    BYTE outPrecision;
    BYTE clipPrecision;
    BYTE quality;
    BYTE pitchAndFamily;
    const char* face;
};

inline constexpr BYTE gb2312Charset = 134;

constexpr FontDescription fontDescription(LabelFont font) {
    switch (font) {
    case LabelFont::Song10:
        return {-10, FW_NORMAL, gb2312Charset, OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS, DRAFT_QUALITY, VARIABLE_PITCH, "宋体"};
    case LabelFont::Song12:
        return {-12, FW_NORMAL, gb2312Charset, OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS, DRAFT_QUALITY, VARIABLE_PITCH, "宋体"};
    case LabelFont::Kai12:
        return {-12, FW_NORMAL, gb2312Charset, OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS, DRAFT_QUALITY,
                FIXED_PITCH | FF_MODERN, "楷体"};
    case LabelFont::Kai12Bold:
        return {-12, FW_BOLD, gb2312Charset, OUT_STROKE_PRECIS, CLIP_STROKE_PRECIS, DRAFT_QUALITY,
                FIXED_PITCH | FF_MODERN, "楷体"};
    case LabelFont::Serial12Bold:  // no face: the platform's default face for the character set
        return {-12, FW_BOLD, gb2312Charset, 0, 0, 0, 0, ""};
    case LabelFont::DefaultGui:
        break;
    }
    return {0, 0, 0, 0, 0, 0, 0, nullptr};
}

struct FormEntry {
    int id;
    const char* formName;  // the control's name in the form (按钮1, 编辑框1, 透明标签1 ...)
    ControlKind kind;
    ControlParent parent;
    int x, y, width, height;
    const char* text;
    LabelFont font;      // labels only
    COLORREF textColor;  // labels only
    bool centred;        // labels only: horizontal alignment
};

inline constexpr COLORREF blackText = RGB(0, 0, 0);
inline constexpr COLORREF redText = RGB(255, 0, 0);

// Creation order is the order below. Among siblings the first created lies on top and comes first
// in the focus order: list, then the edit boxes, then the buttons. The caption labels 透明标签5 to 8
// reach 32 pixels into the edit boxes and the change button, so they come after them and lie
// beneath; PhotoBox comes after the overlay labels, which lie above it.
inline constexpr FormEntry formControls[] = {
    {ids::listCaption, "透明标签3", ControlKind::TransparentLabel, ControlParent::MainWindow, 0, 0, 72, 16, "模板列表↓",
     LabelFont::DefaultGui, blackText, false},
    {ids::templateList, "列表框1", ControlKind::ListBox, ControlParent::MainWindow, 0, 16, 128, 440, "",
     LabelFont::DefaultGui, blackText, false},
    {ids::certificateView, "图片框1", ControlKind::PictureBox, ControlParent::MainWindow, 136, 8, 464, 296, "",
     LabelFont::DefaultGui, blackText, false},
    {ids::nameEdit, "编辑框1", ControlKind::EditBox, ControlParent::MainWindow, 168, 312, 88, 24, "",
     LabelFont::DefaultGui, blackText, false},
    {ids::sexEdit, "编辑框2", ControlKind::EditBox, ControlParent::MainWindow, 168, 336, 88, 24, "",
     LabelFont::DefaultGui, blackText, false},
    {ids::ageEdit, "编辑框3", ControlKind::EditBox, ControlParent::MainWindow, 168, 360, 88, 24, "",
     LabelFont::DefaultGui, blackText, false},
    {ids::changePhotoButton, "按钮1", ControlKind::PushButton, ControlParent::MainWindow, 168, 384, 88, 24, "更换",
     LabelFont::DefaultGui, blackText, false},
    {ids::previewButton, "按钮2", ControlKind::PushButton, ControlParent::MainWindow, 288, 312, 96, 24, "预览",
     LabelFont::DefaultGui, blackText, false},
    {ids::saveButton, "按钮3", ControlKind::PushButton, ControlParent::MainWindow, 448, 312, 96, 24, "保存",
     LabelFont::DefaultGui, blackText, false},
    {ids::nameCaption, "透明标签5", ControlKind::TransparentLabel, ControlParent::MainWindow, 136, 312, 64, 24, "姓名：",
     LabelFont::DefaultGui, blackText, false},
    {ids::sexCaption, "透明标签6", ControlKind::TransparentLabel, ControlParent::MainWindow, 136, 336, 64, 24, "性别：",
     LabelFont::DefaultGui, blackText, false},
    {ids::ageCaption, "透明标签7", ControlKind::TransparentLabel, ControlParent::MainWindow, 136, 360, 64, 24, "年龄：",
     LabelFont::DefaultGui, blackText, false},
    {ids::photoCaption, "透明标签8", ControlKind::TransparentLabel, ControlParent::MainWindow, 136, 384, 64, 24, "头像：",
     LabelFont::DefaultGui, blackText, false},
    // Children of CertificateView.
    {ids::nameLabel, "透明标签1", ControlKind::TransparentLabel, ControlParent::CertificateView, 292, 42, 48, 16, "",
     LabelFont::Song10, blackText, false},
    {ids::sexLabel, "透明标签2", ControlKind::TransparentLabel, ControlParent::CertificateView, 293, 60, 48, 16, "",
     LabelFont::Song12, blackText, false},
    {ids::ageLabel, "透明标签9", ControlKind::TransparentLabel, ControlParent::CertificateView, 288, 80, 56, 16, "",
     LabelFont::DefaultGui, blackText, false},
    {ids::holderNameLabel, "透明标签4", ControlKind::TransparentLabel, ControlParent::CertificateView, 313, 127, 64, 16,
     "", LabelFont::Kai12, redText, true},
    {ids::issueDateLabel, "颁发日期", ControlKind::TransparentLabel, ControlParent::CertificateView, 336, 240, 112, 24,
     "", LabelFont::Kai12Bold, redText, false},
    {ids::serialLabel, "编号", ControlKind::TransparentLabel, ControlParent::CertificateView, 368, 264, 48, 8, "",
     LabelFont::Serial12Bold, redText, false},
    {ids::photoBox, "图片框2", ControlKind::PictureBox, ControlParent::CertificateView, 352, 32, 80, 80, "",
     LabelFont::DefaultGui, blackText, false},
};

constexpr const FormEntry* findFormEntry(int id) {
    for (const auto& entry : formControls)
        if (entry.id == id) return &entry;
    return nullptr;
}
