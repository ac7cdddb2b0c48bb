// TImage: a STATIC with SS_BITMAP showing an embedded 24-bit BMP, scaled to
// the control's bounds (SS_REALSIZECONTROL).
#include <cstring>

#include "Embedded.h"
#include "Win32Peer.h"

namespace win32 {

namespace {

// A device bitmap from the bytes of a .bmp file; null when they are no bitmap.
HBITMAP BitmapFromFile(const embedded::TResource& file) {
  if (!file.Data || file.Size < sizeof(BITMAPFILEHEADER) + sizeof(BITMAPINFOHEADER)) return nullptr;
  BITMAPFILEHEADER header;
  std::memcpy(&header, file.Data, sizeof header);
  if (header.bfType != 0x4D42 || header.bfOffBits >= file.Size) return nullptr;
  const auto* info = reinterpret_cast<const BITMAPINFO*>(file.Data + sizeof(BITMAPFILEHEADER));
  HDC screen = GetDC(nullptr);
  HBITMAP bitmap = CreateDIBitmap(screen, &info->bmiHeader, CBM_INIT, file.Data + header.bfOffBits, info, DIB_RGB_COLORS);
  ReleaseDC(nullptr, screen);
  return bitmap;
}

class ImagePeer final : public ControlPeer {
 public:
  ImagePeer(FormPeer& form, TImage& image) : ControlPeer(form, image), image_(image) {}
  ~ImagePeer() override {
    DestroyWindows();
    if (bitmap_) DeleteObject(bitmap_);
  }

  void Create(HWND parent) override {
    const HWND window = CreateWindowFor("STATIC", SS_BITMAP | SS_REALSIZECONTROL | UntabbedStyle(), 0,
                                        parent, image_.ControlId(), image_.Bounds(), "")
                            .Handle;
    bitmap_ = BitmapFromFile(embedded::Find(image_.Picture()));
    if (window && bitmap_) SendMessageA(window, STM_SETIMAGE, IMAGE_BITMAP, reinterpret_cast<LPARAM>(bitmap_));
    // A bitmap static may size itself to the picture: the bounds decide.
    ControlPeer::Apply(TChange::Bounds);
  }

  void Apply(TChange change) override {
    if (change == TChange::Caption) return;  // a picture has no text
    ControlPeer::Apply(change);
  }

 protected:
  bool Skinned() const override { return false; }

 private:
  TImage& image_;
  HBITMAP bitmap_ = nullptr;
};

}  // namespace

std::unique_ptr<ControlPeer> MakeImagePeer(FormPeer& form, TImage& control) {
  return std::make_unique<ImagePeer>(form, control);
}

}  // namespace win32
