// GDI objects owned by RAII, the screen's scale, and the dialogs' fonts.
#pragma once
#include <windows.h>

#include <memory>
#include <string>
#include <type_traits>

namespace qzr::ui {

struct GdiDeleter {
  void operator()(void* object) const { DeleteObject(static_cast<HGDIOBJ>(object)); }
};
template <typename Handle>
using GdiObject = std::unique_ptr<std::remove_pointer_t<Handle>, GdiDeleter>;
using Font = GdiObject<HFONT>;
using Bitmap = GdiObject<HBITMAP>;
using Brush = GdiObject<HBRUSH>;

// The dialogs are laid out in pixels of a 96 dots-per-inch screen; on a denser screen every
// position and size grows with it, as the fonts do.
class Scale {
 public:
  Scale();
  int operator()(int pixels) const { return MulDiv(pixels, dpi_, 96); }
  int Dpi() const { return dpi_; }

 private:
  int dpi_;
};

enum class FontStyle { Regular = 0, Bold = 1, Italic = 2, Underline = 4 };
constexpr FontStyle operator|(FontStyle a, FontStyle b) {
  return static_cast<FontStyle>(static_cast<int>(a) | static_cast<int>(b));
}

struct FontSpec {
  const wchar_t* Face;
  int Points;
  FontStyle Style = FontStyle::Regular;
  BYTE CharSet = DEFAULT_CHARSET;
  BYTE PitchAndFamily = VARIABLE_PITCH | FF_SWISS;
};

Font MakeFont(const FontSpec& spec, const Scale& scale);

// Width and height of a line of text in a font.
SIZE TextSize(HFONT font, const std::wstring& text);

// The dialogs' fonts. The default one is the TrueType face of MS Sans Serif, which carries the
// Cyrillic letters on every Windows; the bitmap MS Sans Serif has them only on Russian systems.
namespace fonts {
inline constexpr FontSpec kDefault{L"Microsoft Sans Serif", 8};
inline constexpr FontSpec kDefaultBold{L"Microsoft Sans Serif", 8, FontStyle::Bold};
inline constexpr FontSpec kCloseButton{L"Microsoft Sans Serif", 10, FontStyle::Bold};
inline constexpr FontSpec kTerminal{L"Terminal", 9, FontStyle::Bold, OEM_CHARSET, FIXED_PITCH | FF_MODERN};
inline constexpr FontSpec kWebLabel{L"Terminal", 9, FontStyle::Regular, OEM_CHARSET, FIXED_PITCH | FF_MODERN};
inline constexpr FontSpec kTweakName{L"Arial", 10, FontStyle::Bold};
inline constexpr FontSpec kBigLogo{L"Arial", 72};
inline constexpr FontSpec kCredit{L"Monotype Corsiva", 16, FontStyle::Bold | FontStyle::Italic, DEFAULT_CHARSET,
                                  VARIABLE_PITCH | FF_SCRIPT};
inline constexpr FontSpec kSentence{L"Times New Roman", 10, FontStyle::Bold, DEFAULT_CHARSET,
                                    VARIABLE_PITCH | FF_ROMAN};
inline constexpr FontSpec kSmallLogo{L"Arial", 36, FontStyle::Bold | FontStyle::Underline};
}  // namespace fonts

// The largest size of `spec`, at most its own, at which `text` fits into `width` pixels (the
// Terminal font's cells differ from one Windows to another).
Font FitFont(FontSpec spec, const Scale& scale, const std::wstring& text, int width);

}  // namespace qzr::ui
