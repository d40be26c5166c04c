// Control identifiers of MainWindow; the UI driver and the tests find controls by them.
#pragma once

namespace ids {
inline constexpr int templateList = 1001;
inline constexpr int certificateView = 1002;
inline constexpr int nameEdit = 1003;
inline constexpr int sexEdit = 1004;
inline constexpr int ageEdit = 1005;
inline constexpr int changePhotoButton = 1006;
inline constexpr int previewButton = 1007;
inline constexpr int saveButton = 1008;
inline constexpr int listCaption = 1010;   // 透明标签3
inline constexpr int nameCaption = 1011;   // 透明标签5
inline constexpr int sexCaption = 1012;    // 透明标签6
inline constexpr int ageCaption = 1013;    // 透明标签7
inline constexpr int photoCaption = 1014;  // 透明标签8
// Children of CertificateView.
inline constexpr int nameLabel = 1020;        // 透明标签1
inline constexpr int sexLabel = 1021;         // 透明标签2
inline constexpr int ageLabel = 1022;         // 透明标签9
inline constexpr int photoBox = 1023;         // 图片框2
inline constexpr int holderNameLabel = 1024;  // 透明标签4
inline constexpr int issueDateLabel = 1025;   // 颁发日期
inline constexpr int serialLabel = 1026;      // 编号
}  // namespace ids
