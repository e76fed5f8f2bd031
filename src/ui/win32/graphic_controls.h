// The dialogs' controls that never take the keyboard focus, as labels and flat speed buttons do:
// labels are transparent (a label shows the labels beneath it, so two of them make a shadowed
// logo) and coloured; speed buttons show a glyph and a frame only under the pointer or pressed.
// Both tell their form of clicks (WM_COMMAND, code 0) and take BM_CLICK as a button does; labels
// also tell when the pointer comes over them or leaves (QZR_LABEL_ENTER, QZR_LABEL_LEAVE).
#pragma once
#include <windows.h>

#include <string>

namespace qzr::ui {

enum class LabelAlign { Left, Center };

struct LabelSpec {
  int Id;
  RECT Bounds;  // in the parent's client pixels
  HFONT Font;
  COLORREF Color;
  LabelAlign Align = LabelAlign::Left;
  bool Link = false;  // shows the hand pointer
};

// Creates a label as a child of `parent`, above the labels made before it.
HWND CreateLabel(HWND parent, const LabelSpec& spec, const std::wstring& text);

// Creates a flat speed button showing `glyph` (owned by the caller, kept while the button lives).
HWND CreateSpeedButton(HWND parent, int id, RECT bounds, HBITMAP glyph);

// A library's window classes outlive it unless it removes them: called when a dialog is gone
// (it fails, harmlessly, while controls of the class still exist).
void UnregisterGraphicControls();

}  // namespace qzr::ui
