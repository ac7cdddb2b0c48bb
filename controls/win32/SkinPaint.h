// Painting from a skin section. Which state's colours a control takes:
//   body (Top/Bottom gradient, Border, Text): Disabled, else Pressed, else
//     Hot, else Normal;
//   check mark and radio dot: Checked.Mark (Disabled.Mark when disabled);
//   focus: a dotted mark in Focused.Mark, and a button's border turns
//     Focused.Border;
//   the default button (the one Enter presses) has Checked.Border.
#pragma once

#include <optional>

#include "Win32Peer.h"

namespace skinpaint {

struct ControlState {
  bool Enabled = true;
  bool Hot = false;
  bool Pressed = false;
  bool Focused = false;
  bool Checked = false;
  bool Default = false;
};

const TSkinColors& Body(const TSkinSection& section, const ControlState& state);
COLORREF MarkColor(const TSkinSection& section, const ControlState& state);

// Drawing into a memory bitmap that is copied to `target` at (x, y) when
// the canvas ends, so that parts drawn over each other never flicker.
class MemoryCanvas {
 public:
  MemoryCanvas(HDC target, int x, int y, int width, int height);
  ~MemoryCanvas();
  MemoryCanvas(const MemoryCanvas&) = delete;
  MemoryCanvas& operator=(const MemoryCanvas&) = delete;
  HDC Dc() const { return memory_; }

 private:
  HDC target_;
  int x_, y_, width_, height_;
  HDC memory_ = nullptr;
  HBITMAP bitmap_ = nullptr;
  HGDIOBJ oldBitmap_ = nullptr;
};

// Double-buffered WM_PAINT: everything is drawn into Dc, a memory bitmap of
// the client size, and copied to the window at the end.
class BufferedPaint {
 public:
  explicit BufferedPaint(HWND window);
  ~BufferedPaint();
  BufferedPaint(const BufferedPaint&) = delete;
  BufferedPaint& operator=(const BufferedPaint&) = delete;
  HDC Dc() const { return canvas_->Dc(); }
  const RECT& Client() const { return client_; }

 private:
  HWND window_;
  PAINTSTRUCT paint_{};
  RECT client_{};
  std::optional<MemoryCanvas> canvas_;
};

void FillSolid(HDC dc, const RECT& rect, COLORREF color);
void FillGradient(HDC dc, const RECT& rect, COLORREF top, COLORREF bottom);
// A rounded box: the gradient inside, the border around it.
void Panel(HDC dc, const RECT& rect, const TSkinColors& colors, int radius);
void Frame(HDC dc, const RECT& rect, COLORREF color, int radius);
// Text reaches GDI as UTF-16 only: under Wine the 8-bit drawing calls
// convert with the code page of the font's character set, not the
// program's, and show a UTF-8 caption as Latin-1 letters.
std::wstring Wide(const std::string& text);  // from the program's ANSI code page
std::wstring WindowText(HWND window);
void Text(HDC dc, const std::wstring& text, RECT rect, COLORREF color, HFONT font, UINT format);
// The size DrawText gives the text in that font.
SIZE TextSize(HDC dc, const std::wstring& text, HFONT font);
void CheckMark(HDC dc, const RECT& box, COLORREF color);
void RadioBox(HDC dc, const RECT& box, const TSkinColors& body, bool checked, COLORREF mark);
// A small filled triangle centred in the rectangle, pointing up or down.
void Arrow(HDC dc, const RECT& rect, bool up, COLORREF color);
void FocusMark(HDC dc, const RECT& rect, COLORREF color);

}  // namespace skinpaint
