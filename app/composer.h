// Composition: the head photo, and the preview that fills the overlay labels of CertificateView.
#pragma once
#include <cstdint>
#include <string>

// The per-thread random generator: state × 214013 + 2531011 (mod 2^32), value (state >> 16) & 0x7FFF.
constexpr uint32_t nextRandomState(uint32_t state) { return state * 214013u + 2531011u; }
constexpr int randomValueOf(uint32_t state) { return static_cast<int>((state >> 16) & 0x7FFF); }
void seedRandom(uint32_t seed);  // the calling thread's generator
int drawRandom();                // 0 to 32767, from the calling thread's generator

// Year "年" month "月", plain decimal without leading zeros: 2010年8月.
std::string issueDateText(int year, int month);

// Click of ChangePhotoButton: a photo chosen in OpenPhotoDialog goes into PhotoBox.
void onChangePhotoClicked();
// Click of PreviewButton: name, sex, age, the name again, the issue date and a serial number.
void onPreviewClicked();
