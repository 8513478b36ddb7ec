#include "controls/MenuLook.h"

#include <cstddef>

#include "controls/Picture.h"
#include "controls/ThemedPaint.h"
#include "taskbar/Drawing.h"
#include "win/Canvas.h"
#include "win/Utf.h"

namespace ql {

namespace {

constexpr COLORREF kWhite = RGB(255, 255, 255);
constexpr COLORREF kBlack = RGB(0, 0, 0);
constexpr COLORREF kPictureKey = kWhite;  // MenuBMP's transparent colour
constexpr int kTextTop = 3;
constexpr int kKovaTextLeft = 5;
constexpr int kPictureLeft = 4;
constexpr int kStandardTextLeft = 23;
constexpr int kArrowFromRight = 15;
constexpr int kArrowTop = 7;
constexpr int kRightMargin = 16;  // room for the arrow mark after the caption
constexpr int kEtchInset = 3;

win::Font SystemMenuFont() {
  NONCLIENTMETRICSW metrics{};
  // The size without iPaddedBorderWidth: systems before Vista refuse the longer structure.
  metrics.cbSize = static_cast<UINT>(offsetof(NONCLIENTMETRICSW, iPaddedBorderWidth));
  if (::SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, metrics.cbSize, &metrics, 0) == FALSE) return {};
  return win::Font(::CreateFontIndirectW(&metrics.lfMenuFont));
}

void DrawTitle(win::Canvas& canvas, const MenuEntryLook& entry, int w, int h) {
  DrawSunkenBox(canvas, 0, 0, w, h - 1, 34, 36, 75);
  canvas.SetBrushClear();
  canvas.SetTextColor(kWhite);
  canvas.TextOut(kKovaTextLeft, kTextTop, entry.caption);
}

}  // namespace

MenuLook::MenuLook() : measureFont_(SystemMenuFont()) {}

bool MenuLook::IsSeparator(const MenuEntryLook& entry) const {
  return !entry.title && !options_.kova && entry.caption == "-";
}

SIZE MenuLook::Measure(const MenuEntryLook& entry) const {
  const bool separator = entry.kind == MenuKind::Main && entry.caption == "-";
  const int height = separator ? kMenuSeparatorHeight : kMenuEntryHeight;
  const int left = entry.title || options_.kova ? kKovaTextLeft : kStandardTextLeft;
  int text = 0;
  if (!IsSeparator(entry)) {
    const win::WindowDc screen(nullptr);
    const std::wstring caption = win::Widen(entry.caption);
    const HDC dc = screen.get();
    if (dc != nullptr) {
      const win::SelectGuard font(dc, measureFont_ ? measureFont_.get() : ::GetStockObject(DEFAULT_GUI_FONT));
      SIZE extent{};
      ::GetTextExtentPoint32W(dc, caption.c_str(), static_cast<int>(caption.size()), &extent);
      text = static_cast<int>(extent.cx);
    }
  }
  return SIZE{left + text + kRightMargin, height};
}

void MenuLook::Measure(const MenuEntryLook& entry, MEASUREITEMSTRUCT& item) const {
  const SIZE size = Measure(entry);
  item.itemWidth = static_cast<UINT>(size.cx);
  item.itemHeight = static_cast<UINT>(size.cy);
}

void MenuLook::Draw(const MenuEntryLook& entry, HDC dc, const RECT& r, bool selected) const {
  const int w = static_cast<int>(r.right - r.left);
  const int h = static_cast<int>(r.bottom - r.top);
  if (dc == nullptr || w <= 0 || h <= 0) return;
  const auto font = static_cast<HFONT>(::GetCurrentObject(dc, OBJ_FONT));
  const bool kova = options_.kova;

  win::Bitmap face = themed::ComposeFace(w, h, [&](win::Canvas& canvas) {
    // What the menu shows there now: parts of the entry that nothing covers keep it.
    ::BitBlt(canvas.dc(), 0, 0, w, h, dc, r.left, r.top, SRCCOPY);
    canvas.SetFont(font);
    // The colours the menu prepares for an entry.
    COLORREF text = ::GetSysColor(selected ? COLOR_HIGHLIGHTTEXT : COLOR_MENUTEXT);

    if (entry.title) {
      DrawTitle(canvas, entry, w, h);
      return;
    }
    if (IsSeparator(entry)) {
      if (const win::Bitmap norm = LoadTexture(options_.itNorm)) canvas.StretchDraw(0, 0, w, h, norm.get());
      const bool main = entry.kind == MenuKind::Main;
      canvas.SetPenColor(main ? ::GetSysColor(COLOR_BTNSHADOW) : kBlack);
      canvas.Line(kEtchInset, kEtchInset, w - kEtchInset, kEtchInset);
      canvas.SetPenColor(main ? ::GetSysColor(COLOR_BTNHIGHLIGHT) : kWhite);
      canvas.Line(kEtchInset, kEtchInset + 1, w - kEtchInset, kEtchInset + 1);
      return;
    }

    if (kova) {
      if (selected) {
        const win::Bitmap sel = LoadTexture(options_.itSel);
        if (sel) {
          canvas.StretchDraw(1, 1, w - 2, h - 2, sel.get());
        } else {
          DrawRaisedBox(canvas, 0, 0, w, h, 228, 228, 228);
          if (options_.itSel.empty() || entry.kind == MenuKind::Main) text = kBlack;
        }
      } else if (const win::Bitmap norm = LoadTexture(options_.itNorm)) {
        canvas.StretchDraw(0, 0, w, h, norm.get());
      } else {
        DrawRaisedBox(canvas, 0, 0, w, h - 1, 192, 192, 192);
      }
    } else {
      const COLORREF ground = ::GetSysColor(selected ? COLOR_HIGHLIGHT : COLOR_MENU);
      canvas.SetPenColor(ground);
      canvas.SetBrushColor(ground);
      const win::Bitmap texture = LoadTexture(selected ? options_.itSel : options_.itNorm);
      if (texture && selected) {
        canvas.StretchDraw(1, 1, w - 2, h - 2, texture.get());
      } else if (texture) {
        canvas.StretchDraw(0, 0, w, h, texture.get());
      } else {
        canvas.Rectangle(0, 0, w, h);
      }
    }
    if (entry.arrow) DrawArrow(canvas, w - kArrowFromRight, kArrowTop);
    if (!kova) DrawTransparent(canvas, entry.image, kPictureLeft, kTextTop, entry.imageKey);
    canvas.SetBrushClear();
    canvas.SetTextColor(text);
    canvas.TextOut(kova ? kKovaTextLeft : kStandardTextLeft, kTextTop, entry.caption);
  });
  if (face) themed::CopyFace(dc, face.get(), r.left, r.top);
}

void MenuLook::Draw(const MenuEntryLook& entry, const DRAWITEMSTRUCT& item) const {
  Draw(entry, item.hDC, item.rcItem, (item.itemState & ODS_SELECTED) != 0);
}

MenuEntryLook MainMenuEntry(int tag, std::string_view caption, HBITMAP picture) {
  MenuEntryLook entry;
  entry.kind = MenuKind::Main;
  entry.caption = caption;
  entry.title = tag == 0;
  entry.arrow = tag >= 1 && tag <= 7;
  entry.image = picture;
  entry.imageKey = kPictureKey;
  return entry;
}

void MenuLook::MenuMeasureItem(int tag, std::string_view caption, MEASUREITEMSTRUCT& item) const {
  Measure(MainMenuEntry(tag, caption, nullptr), item);
}

void MenuLook::MenuDrawItem(int tag, std::string_view caption, HBITMAP picture,
                            const DRAWITEMSTRUCT& item) const {
  Draw(MainMenuEntry(tag, caption, picture), item);
}

}  // namespace ql
