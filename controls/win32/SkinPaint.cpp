#include "SkinPaint.h"

#include <algorithm>

namespace skinpaint {

namespace {

const TSkinColors& StateOf(const TSkinSection& section, TSkinState state) { return section.State(state); }

HRGN RoundRegion(const RECT& rect, int radius) {
  if (radius <= 0) return CreateRectRgn(rect.left, rect.top, rect.right, rect.bottom);
  return CreateRoundRectRgn(rect.left, rect.top, rect.right + 1, rect.bottom + 1, radius * 2, radius * 2);
}

int Mix(int from, int to, int step, int steps) { return from + (to - from) * step / std::max(steps, 1); }

}  // namespace

const TSkinColors& Body(const TSkinSection& section, const ControlState& state) {
  if (!state.Enabled) return StateOf(section, TSkinState::Disabled);
  if (state.Pressed) return StateOf(section, TSkinState::Pressed);
  if (state.Hot) return StateOf(section, TSkinState::Hot);
  return StateOf(section, TSkinState::Normal);
}

COLORREF MarkColor(const TSkinSection& section, const ControlState& state) {
  return StateOf(section, state.Enabled ? TSkinState::Checked : TSkinState::Disabled).Mark;
}

MemoryCanvas::MemoryCanvas(HDC target, int x, int y, int width, int height)
    : target_(target), x_(x), y_(y), width_(std::max(width, 1)), height_(std::max(height, 1)) {
  memory_ = CreateCompatibleDC(target_);
  bitmap_ = CreateCompatibleBitmap(target_, width_, height_);
  oldBitmap_ = SelectObject(memory_, bitmap_);
}

MemoryCanvas::~MemoryCanvas() {
  BitBlt(target_, x_, y_, width_, height_, memory_, 0, 0, SRCCOPY);
  SelectObject(memory_, oldBitmap_);
  DeleteObject(bitmap_);
  DeleteDC(memory_);
}

BufferedPaint::BufferedPaint(HWND window) : window_(window) {
  HDC screen = BeginPaint(window, &paint_);
  GetClientRect(window, &client_);
  canvas_.emplace(screen, 0, 0, client_.right, client_.bottom);
}

BufferedPaint::~BufferedPaint() {
  canvas_.reset();  // copied to the window before the paint ends
  EndPaint(window_, &paint_);
}

void FillSolid(HDC dc, const RECT& rect, COLORREF color) {
  const COLORREF old = SetBkColor(dc, color);
  ExtTextOutW(dc, 0, 0, ETO_OPAQUE, &rect, nullptr, 0, nullptr);
  SetBkColor(dc, old);
}

void FillGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom) {
  const int height = rect.bottom - rect.top;
  for (int y = 0; y < height; ++y) {
    const COLORREF color = RGB(Mix(GetRValue(top), GetRValue(bottom), y, height - 1),
                               Mix(GetGValue(top), GetGValue(bottom), y, height - 1),
                               Mix(GetBValue(top), GetBValue(bottom), y, height - 1));
    const RECT line{rect.left, rect.top + y, rect.right, rect.top + y + 1};
    FillSolid(dc, line, color);
  }
}

void Panel(HDC dc, const RECT& rect, const TSkinColors& colors, int radius) {
  HRGN region = RoundRegion(rect, radius);
  const int saved = SaveDC(dc);
  ExtSelectClipRgn(dc, region, RGN_AND);
  FillGradient(dc, rect, colors.Top, colors.Bottom);
  RestoreDC(dc, saved);
  DeleteObject(region);
  Frame(dc, rect, colors.Border, radius);
}

void Frame(HDC dc, const RECT& rect, COLORREF color, int radius) {
  // The region's own outline: FrameRgn with a 1-pixel brush gives the same
  // corners as the fill's clip.
  HRGN region = RoundRegion(rect, radius);
  HBRUSH brush = CreateSolidBrush(color);
  FrameRgn(dc, region, brush, 1, 1);
  DeleteObject(brush);
  DeleteObject(region);
}

std::wstring Wide(const std::string& text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int units = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  std::wstring wide(static_cast<std::size_t>(std::max(units, 0)), L'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, wide.data(), units);
  return wide;
}

std::wstring WindowText(HWND window) {
  std::wstring text(static_cast<std::size_t>(std::max(GetWindowTextLengthW(window), 0)) + 1, L'\0');
  text.resize(static_cast<std::size_t>(std::max(GetWindowTextW(window, text.data(), static_cast<int>(text.size())), 0)));
  return text;
}

void Text(HDC dc, const std::wstring& text, RECT rect, COLORREF color, HFONT font, UINT format) {
  const HGDIOBJ oldFont = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  const int oldMode = SetBkMode(dc, TRANSPARENT);
  const COLORREF oldColor = SetTextColor(dc, color);
  DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &rect, format);
  SetTextColor(dc, oldColor);
  SetBkMode(dc, oldMode);
  SelectObject(dc, oldFont);
}

SIZE TextSize(HDC dc, const std::wstring& text, HFONT font) {
  const HGDIOBJ oldFont = SelectObject(dc, font ? font : GetStockObject(DEFAULT_GUI_FONT));
  RECT rect{0, 0, 0, 0};
  DrawTextW(dc, text.empty() ? L" " : text.c_str(), text.empty() ? 1 : static_cast<int>(text.size()), &rect,
            DT_CALCRECT | DT_SINGLELINE);
  SelectObject(dc, oldFont);
  return SIZE{rect.right - rect.left, rect.bottom - rect.top};
}

void CheckMark(HDC dc, const RECT& box, COLORREF color) {
  // A tick scaled to the box, two pixels thick.
  const int w = box.right - box.left, h = box.bottom - box.top;
  const POINT points[] = {{box.left + w * 3 / 13, box.top + h * 6 / 13},
                          {box.left + w * 5 / 13, box.top + h * 9 / 13},
                          {box.left + w * 10 / 13, box.top + h * 3 / 13}};
  HPEN pen = CreatePen(PS_SOLID, 2, color);
  const HGDIOBJ oldPen = SelectObject(dc, pen);
  Polyline(dc, points, 3);
  SelectObject(dc, oldPen);
  DeleteObject(pen);
}

void RadioBox(HDC dc, const RECT& box, const TSkinColors& body, bool checked, COLORREF mark) {
  HRGN circle = CreateEllipticRgn(box.left, box.top, box.right + 1, box.bottom + 1);
  const int saved = SaveDC(dc);
  ExtSelectClipRgn(dc, circle, RGN_AND);
  FillGradient(dc, box, body.Top, body.Bottom);
  RestoreDC(dc, saved);
  HBRUSH border = CreateSolidBrush(body.Border);
  FrameRgn(dc, circle, border, 1, 1);
  DeleteObject(border);
  DeleteObject(circle);
  if (!checked) return;
  const int inset = (box.right - box.left) * 4 / 13;
  HRGN dot = CreateEllipticRgn(box.left + inset, box.top + inset, box.right - inset + 1, box.bottom - inset + 1);
  HBRUSH brush = CreateSolidBrush(mark);
  FillRgn(dc, dot, brush);
  DeleteObject(brush);
  DeleteObject(dot);
}

void Arrow(HDC dc, const RECT& rect, bool up, COLORREF color) {
  const int cx = (rect.left + rect.right) / 2, cy = (rect.top + rect.bottom) / 2;
  // Rows of 7, 5, 3 and 1 pixels.
  for (int row = 0; row < 4; ++row) {
    const int y = up ? cy + 1 - row : cy - 2 + row;
    const int half = 3 - row;
    FillSolid(dc, RECT{cx - half, y, cx + half + 1, y + 1}, color);
  }
}

void FocusMark(HDC dc, const RECT& rect, COLORREF color) {
  // Every other pixel, as the system's focus rectangle, in the skin's colour.
  for (int x = rect.left; x < rect.right; x += 2) {
    SetPixelV(dc, x, rect.top, color);
    SetPixelV(dc, x, rect.bottom - 1, color);
  }
  for (int y = rect.top; y < rect.bottom; y += 2) {
    SetPixelV(dc, rect.left, y, color);
    SetPixelV(dc, rect.right - 1, y, color);
  }
}

}  // namespace skinpaint
