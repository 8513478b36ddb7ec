#include "controls/KovaComboBox.h"

#include <utility>

#include "controls/ThemedPaint.h"
#include "core/ThemedGeometry.h"
#include "taskbar/Drawing.h"
#include "win/Canvas.h"

namespace ql {

TKovaComboBox::~TKovaComboBox() { Destroy(); }

bool TKovaComboBox::Create(HWND parent, int id, int x, int y, int width) {
  return CreateFace(kClassName, CS_DBLCLKS, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, parent, id, x, y, width,
                    kComboHeight);
}

void TKovaComboBox::SetElements(std::vector<std::string> elements) {
  elements_ = std::move(elements);
  itemSel_ = 0;
  text_ = elements_.empty() ? std::string(kEmptyText) : elements_.front();
  Repaint();
}

void TKovaComboBox::SetItemSel(std::int32_t index) {
  if (index < 0 || static_cast<std::size_t>(index) >= elements_.size()) return;
  itemSel_ = index;
  text_ = elements_[static_cast<std::size_t>(index)];
  Repaint();
}

void TKovaComboBox::OpenMenu() {
  if (hwnd() == nullptr) return;
  menu_.reset(::CreatePopupMenu());
  if (!menu_ || elements_.empty()) return;
  for (std::size_t i = 0; i < elements_.size(); ++i) {
    // Owner-drawn: the item data is the element's index, its tag.
    ::AppendMenuW(menu_.get(), MF_OWNERDRAW, ElementCommand(static_cast<std::int32_t>(i)),
                  reinterpret_cast<const wchar_t*>(static_cast<ULONG_PTR>(i)));
  }
  POINT origin{0, 0};
  ::ClientToScreen(hwnd(), &origin);
  const ThemedPoint at = ElementMenuOrigin({origin.x, origin.y}, itemSel_);
  // This window owns the menu: WM_MEASUREITEM and WM_DRAWITEM come here.
  const std::weak_ptr<int> alive = alive_;
  const BOOL command =
      ::TrackPopupMenu(menu_.get(), TPM_LEFTALIGN | TPM_TOPALIGN | TPM_LEFTBUTTON | TPM_RETURNCMD, at.x, at.y,
                       0, hwnd(), nullptr);
  if (alive.expired() || hwnd() == nullptr) return;
  const std::int32_t chosen = ElementFromCommand(static_cast<unsigned>(command), elements_.size());
  if (chosen >= 0) Choose(chosen);
}

void TKovaComboBox::Choose(std::int32_t index) {
  const bool changed = index != itemSel_;
  SetItemSel(index);
  if (!changed) return;
  auto handler = OnChange;
  if (handler) handler(*this);
}

win::Bitmap TKovaComboBox::Compose() const {
  const SIZE size = themed::ClientSize(hwnd());
  const int w = static_cast<int>(size.cx);
  const int h = static_cast<int>(size.cy);
  return themed::ComposeFace(w, h, [&](win::Canvas& canvas) {
    const COLORREF face = themed::ButtonFace();
    // A raised face: white outline, black bottom and right, grey one pixel inside.
    canvas.SetBrushColor(face);
    canvas.SetPenColor(themed::kWhite);
    canvas.Rectangle(0, 0, w, h);
    canvas.SetPenColor(themed::kBlack);
    canvas.MoveTo(0, h - 1);
    canvas.LineTo(w - 1, h - 1);
    canvas.LineTo(w - 1, 0);
    canvas.SetPenColor(themed::kGrey);
    canvas.MoveTo(1, h - 2);
    canvas.LineTo(w - 2, h - 2);
    canvas.LineTo(w - 2, 0);
    themed::DrawMarkSteps(canvas, kPopupMark, w, 0, face);
    canvas.UseDefaultFont();
    canvas.SetBrushClear();
    canvas.SetTextColor(themed::FontColour());
    canvas.TextOut(5, ComboTextTop(h, canvas.TextHeight(text_)), text_);
  });
}

void TKovaComboBox::MeasureEntry(MEASUREITEMSTRUCT& item) const {
  item.itemHeight = kElementHeight;
  item.itemWidth = static_cast<UINT>(ElementEntryWidth(static_cast<int>(themed::ClientSize(hwnd()).cx)));
}

void TKovaComboBox::DrawEntry(const DRAWITEMSTRUCT& item) const {
  const RECT& r = item.rcItem;
  const auto index = static_cast<std::int32_t>(item.itemData);
  if (index < 0 || static_cast<std::size_t>(index) >= elements_.size()) return;
  const int w = static_cast<int>(r.right - r.left);
  const int h = static_cast<int>(r.bottom - r.top);
  // Composed with the entry's top-left corner at (0, 0), then copied to (L, T).
  const int right = static_cast<int>(r.right);
  const auto menuFont = static_cast<HFONT>(::GetCurrentObject(item.hDC, OBJ_FONT));
  win::Bitmap entry = themed::ComposeFace(w, h, [&](win::Canvas& canvas) {
    // What the menu shows there now: the short box leaves its last row as it was.
    ::BitBlt(canvas.dc(), 0, 0, w, h, item.hDC, r.left, r.top, SRCCOPY);
    if ((item.itemState & ODS_SELECTED) != 0) {
      DrawRaisedBox(canvas, 0, 0, right, h, 228, 228, 228);
    } else {
      DrawRaisedBox(canvas, 0, 0, right, h - 1, 192, 192, 192);
    }
    if (index == itemSel_) themed::DrawMarkSteps(canvas, kPopupMark, w, 0, themed::ButtonFace());
    canvas.SetFont(menuFont);
    canvas.SetBrushClear();
    canvas.SetTextColor(themed::kBlack);
    canvas.TextOut(5, 3, elements_[static_cast<std::size_t>(index)]);
  });
  themed::CopyFace(item.hDC, entry.get(), r.left, r.top);
}

LRESULT TKovaComboBox::MouseDown(UINT msg, WPARAM wParam, LPARAM lParam) {
  const bool alt = ::GetKeyState(VK_MENU) < 0;
  if (msg == WM_LBUTTONDOWN && wParam == MK_LBUTTON && !alt) {
    OpenMenu();
    return 0;
  }
  MouseEvent e;
  e.x = static_cast<short>(LOWORD(lParam));
  e.y = static_cast<short>(HIWORD(lParam));
  e.shift = (wParam & MK_SHIFT) != 0;
  e.ctrl = (wParam & MK_CONTROL) != 0;
  e.alt = alt;
  e.left = (wParam & MK_LBUTTON) != 0;
  e.right = (wParam & MK_RBUTTON) != 0;
  e.middle = (wParam & MK_MBUTTON) != 0;
  e.doubleClick = msg == WM_LBUTTONDBLCLK || msg == WM_RBUTTONDBLCLK || msg == WM_MBUTTONDBLCLK;
  e.button = (msg == WM_LBUTTONDOWN || msg == WM_LBUTTONDBLCLK)   ? MouseButton::Left
             : (msg == WM_RBUTTONDOWN || msg == WM_RBUTTONDBLCLK) ? MouseButton::Right
                                                                  : MouseButton::Middle;
  auto handler = OnMouseDown;
  if (handler) handler(*this, e);
  return 0;
}

LRESULT TKovaComboBox::HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) {
  switch (msg) {
    case WM_WINDOWPOSCHANGING: {
      auto* pos = reinterpret_cast<WINDOWPOS*>(lParam);
      if ((pos->flags & SWP_NOSIZE) == 0) pos->cy = kComboHeight;
      break;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN:
    case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN:
    case WM_MBUTTONDBLCLK:
      return MouseDown(msg, wParam, lParam);
    case WM_MEASUREITEM: {
      auto* item = reinterpret_cast<MEASUREITEMSTRUCT*>(lParam);
      if (item->CtlType != ODT_MENU) break;
      MeasureEntry(*item);
      return TRUE;
    }
    case WM_DRAWITEM: {
      const auto* item = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
      if (item->CtlType != ODT_MENU) break;
      DrawEntry(*item);
      return TRUE;
    }
    default:
      break;
  }
  return TKovaFace::HandleMessage(msg, wParam, lParam);
}

}  // namespace ql
