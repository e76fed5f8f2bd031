// One window class for labels and speed buttons. A label paints the face colour, then every label
// beneath it that it overlaps, then its own text; controls clip their siblings, so a label above
// covers the one below.
#include "ui/win32/graphic_controls.h"

#include "ui/win32/module_resources.h"
#include "ui/win32/resource_ids.h"

namespace qzr::ui {
namespace {

constexpr wchar_t kClassName[] = L"QzrGraphicControl";

struct Control {
  bool IsLabel;
  // labels
  HFONT Font = nullptr;
  COLORREF Color = 0;
  LabelAlign Align = LabelAlign::Left;
  bool Link = false;
  // speed buttons
  HBITMAP Glyph = nullptr;
  // the pointer
  bool Hover = false;
  bool Pressed = false;
};

Control* Data(HWND hwnd) { return reinterpret_cast<Control*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA)); }

// A label of this class, as opposed to its speed buttons and to other windows.
const Control* AsLabel(HWND hwnd) {
  wchar_t name[40] = {};
  if (!GetClassNameW(hwnd, name, 40) || lstrcmpW(name, kClassName) != 0) return nullptr;
  const Control* c = Data(hwnd);
  return c && c->IsLabel ? c : nullptr;
}

void Notify(HWND hwnd, int code) {
  HWND form = GetAncestor(hwnd, GA_ROOT);
  SendMessageW(form, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(hwnd), code), reinterpret_cast<LPARAM>(hwnd));
}

// Draws the text of `label` into `dc`, whose origin is `offset` away from the label's own.
void PaintText(HWND label, const Control& c, HDC dc, POINT offset) {
  int n = GetWindowTextLengthW(label);
  std::wstring text(static_cast<size_t>(n) + 1, L'\0');
  GetWindowTextW(label, text.data(), n + 1);
  RECT r;
  GetClientRect(label, &r);
  OffsetRect(&r, offset.x, offset.y);
  HGDIOBJ old = SelectObject(dc, c.Font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, c.Color);
  UINT align = c.Align == LabelAlign::Center ? DT_CENTER : DT_LEFT;
  DrawTextW(dc, text.c_str(), n, &r, align | DT_NOPREFIX | DT_SINGLELINE | DT_NOCLIP);
  SelectObject(dc, old);
}

void PaintLabel(HWND hwnd, const Control& c, HDC dc) {
  RECT mine;
  GetWindowRect(hwnd, &mine);
  // The labels beneath, from the bottom up.
  for (HWND w = GetWindow(hwnd, GW_HWNDLAST); w && w != hwnd; w = GetWindow(w, GW_HWNDPREV)) {
    RECT theirs, common;
    const Control* other = AsLabel(w);
    if (!other || !IsWindowVisible(w) || !GetWindowRect(w, &theirs) || !IntersectRect(&common, &mine, &theirs))
      continue;
    PaintText(w, *other, dc, POINT{theirs.left - mine.left, theirs.top - mine.top});
  }
  PaintText(hwnd, c, dc, POINT{0, 0});
}

void PaintSpeedButton(HWND hwnd, const Control& c, HDC dc) {
  RECT r;
  GetClientRect(hwnd, &r);
  bool down = c.Pressed && c.Hover;
  if (down)
    DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
  else if (c.Hover)
    DrawEdge(dc, &r, BDR_RAISEDINNER, BF_RECT);
  BITMAP bm{};
  if (!c.Glyph || !GetObjectW(c.Glyph, sizeof bm, &bm)) return;
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, c.Glyph);
  int x = (r.right - bm.bmWidth) / 2 + (down ? 1 : 0);
  int y = (r.bottom - bm.bmHeight) / 2 + (down ? 1 : 0);
  BitBlt(dc, x, y, bm.bmWidth, bm.bmHeight, mem, 0, 0, SRCCOPY);
  SelectObject(mem, old);
  DeleteDC(mem);
}

void Paint(HWND hwnd, const Control& c) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  if (c.IsLabel)
    PaintLabel(hwnd, c, dc);
  else
    PaintSpeedButton(hwnd, c, dc);
  EndPaint(hwnd, &ps);
}

LRESULT CALLBACK ControlProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
  if (msg == WM_NCCREATE) {
    // The window owns its data from here on; WM_NCDESTROY frees it.
    const auto* given = static_cast<const Control*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(new Control(*given)));
    return DefWindowProcW(hwnd, msg, wParam, lParam);
  }
  Control* c = Data(hwnd);
  if (!c) return DefWindowProcW(hwnd, msg, wParam, lParam);
  switch (msg) {
    case WM_NCDESTROY:
      SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
      delete c;
      break;
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT:
      Paint(hwnd, *c);
      return 0;
    case WM_SETTEXT: {
      LRESULT r = DefWindowProcW(hwnd, msg, wParam, lParam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return r;
    }
    case QZR_LABEL_SETCOLOR:
      c->Color = static_cast<COLORREF>(wParam);
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case QZR_LABEL_GETCOLOR:
      return static_cast<LRESULT>(c->Color);
    case WM_SETCURSOR:
      if (c->Link) {
        SetCursor(LoadCursorA(nullptr, IDC_HAND));
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE:
      if (!c->Hover) {
        c->Hover = true;
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd, 0};
        TrackMouseEvent(&track);
        InvalidateRect(hwnd, nullptr, FALSE);
        if (c->IsLabel) Notify(hwnd, QZR_LABEL_ENTER);
      }
      return 0;
    case WM_MOUSELEAVE:
      if (c->Hover) {
        c->Hover = false;
        InvalidateRect(hwnd, nullptr, FALSE);
        if (c->IsLabel) Notify(hwnd, QZR_LABEL_LEAVE);
      }
      return 0;
    case WM_LBUTTONDOWN:
      c->Pressed = true;
      SetCapture(hwnd);
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case WM_LBUTTONUP: {
      bool was = c->Pressed;
      c->Pressed = false;
      if (GetCapture() == hwnd) ReleaseCapture();
      InvalidateRect(hwnd, nullptr, FALSE);
      RECT r;
      GetClientRect(hwnd, &r);
      POINT p{static_cast<short>(LOWORD(lParam)), static_cast<short>(HIWORD(lParam))};
      if (was && PtInRect(&r, p)) Notify(hwnd, QZR_LABEL_CLICKED);
      return 0;
    }
    case WM_CAPTURECHANGED:
      c->Pressed = false;
      InvalidateRect(hwnd, nullptr, FALSE);
      return 0;
    case BM_CLICK:
      Notify(hwnd, QZR_LABEL_CLICKED);
      return 0;
    default:
      break;
  }
  return DefWindowProcW(hwnd, msg, wParam, lParam);
}

HWND Create(HWND parent, int id, const RECT& b, const std::wstring& text, const Control& data) {
  WNDCLASSEXW wc{};
  wc.cbSize = sizeof wc;
  if (!GetClassInfoExW(ThisModule(), kClassName, &wc)) {
    wc.lpfnWndProc = ControlProc;
    wc.hInstance = ThisModule();
    wc.hCursor = LoadCursorA(nullptr, IDC_ARROW);
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
  }
  HWND hwnd = CreateWindowExW(0, kClassName, text.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, b.left, b.top,
                              b.right - b.left, b.bottom - b.top, parent,
                              reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), ThisModule(),
                              const_cast<Control*>(&data));
  if (hwnd) SetWindowPos(hwnd, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  return hwnd;
}

}  // namespace

void UnregisterGraphicControls() { UnregisterClassW(kClassName, ThisModule()); }

HWND CreateLabel(HWND parent, const LabelSpec& spec, const std::wstring& text) {
  Control c{true};
  c.Font = spec.Font;
  c.Color = spec.Color;
  c.Align = spec.Align;
  c.Link = spec.Link;
  return Create(parent, spec.Id, spec.Bounds, text, c);
}

HWND CreateSpeedButton(HWND parent, int id, RECT bounds, HBITMAP glyph) {
  Control c{false};
  c.Glyph = glyph;
  return Create(parent, id, bounds, L"", c);
}

}  // namespace qzr::ui
