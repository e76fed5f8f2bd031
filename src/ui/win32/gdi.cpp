// Scale and fonts of the dialogs.
#include "ui/win32/gdi.h"

namespace qzr::ui {

Scale::Scale() {
  HDC screen = GetDC(nullptr);
  dpi_ = screen ? GetDeviceCaps(screen, LOGPIXELSY) : 96;
  if (screen) ReleaseDC(nullptr, screen);
  if (dpi_ <= 0) dpi_ = 96;
}

Font MakeFont(const FontSpec& spec, const Scale& scale) {
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(spec.Points, scale.Dpi(), 72);
  auto has = [&](FontStyle s) { return (static_cast<int>(spec.Style) & static_cast<int>(s)) != 0; };
  lf.lfWeight = has(FontStyle::Bold) ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = has(FontStyle::Italic);
  lf.lfUnderline = has(FontStyle::Underline);
  lf.lfCharSet = spec.CharSet;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = DEFAULT_QUALITY;
  lf.lfPitchAndFamily = spec.PitchAndFamily;
  lstrcpynW(lf.lfFaceName, spec.Face, LF_FACESIZE);
  return Font(CreateFontIndirectW(&lf));
}

SIZE TextSize(HFONT font, const std::wstring& text) {
  SIZE size{0, 0};
  HDC dc = GetDC(nullptr);
  if (!dc) return size;
  HGDIOBJ old = SelectObject(dc, font);
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  ReleaseDC(nullptr, dc);
  return size;
}

Font FitFont(FontSpec spec, const Scale& scale, const std::wstring& text, int width) {
  Font font = MakeFont(spec, scale);
  while (spec.Points > 6 && TextSize(font.get(), text).cx > width) {
    --spec.Points;
    font = MakeFont(spec, scale);
  }
  return font;
}

}  // namespace qzr::ui
