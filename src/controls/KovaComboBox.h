// TKovaComboBox, the themed combo box of the dialogs: a raised face 21 pixels high showing the
// selected element and a small popup mark; a left press opens the element menu, an owner-drawn
// popup menu placed so that the selected element lies over the control. It is not a system combo
// box and has no edit field and no keyboard use of its own.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/KovaFace.h"
#include "controls/Mouse.h"
#include "win/Handles.h"

namespace ql {

class TKovaComboBox : public TKovaFace {
 public:
  static constexpr const wchar_t* kClassName = L"TKovaComboBox";
  static constexpr const char* kEmptyText = "()";

  TKovaComboBox() = default;
  ~TKovaComboBox() override;

  // A child window (WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS) with control id `id`; its height is
  // always 21.
  bool Create(HWND parent, int id, int x, int y, int width);

  // Copies the list; the first element (ItemSel 0) is shown, "()" when the list is empty.
  void SetElements(std::vector<std::string> elements);
  const std::vector<std::string>& Elements() const { return elements_; }
  // Selects and shows the element at `index`; an index outside Elements is ignored.
  void SetItemSel(std::int32_t index);
  std::int32_t ItemSel() const { return itemSel_; }
  const std::string& Text() const { return text_; }

  // Shows the element menu and waits for the choice (a modal menu loop), as a left press does.
  // Choosing another element selects it and raises OnChange; choosing the selected one shows it
  // again without OnChange; dismissing the menu changes nothing. Nothing opens for an empty list.
  void OpenMenu();
  // The element menu of the last opening (destroyed at the next one), or nullptr.
  HMENU ElementMenu() const { return menu_.get(); }

  win::Bitmap Compose() const override;

  // Both may destroy the control.
  std::function<void(TKovaComboBox&)> OnChange;
  // Every mouse press but a plain left one (a modifier key held, another button, a double click).
  std::function<void(TKovaComboBox&, const MouseEvent&)> OnMouseDown;

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override;

 private:
  void Choose(std::int32_t index);
  LRESULT MouseDown(UINT msg, WPARAM wParam, LPARAM lParam);
  void MeasureEntry(MEASUREITEMSTRUCT& item) const;
  void DrawEntry(const DRAWITEMSTRUCT& item) const;

  std::vector<std::string> elements_;
  std::int32_t itemSel_ = 0;
  std::string text_ = kEmptyText;
  win::Menu menu_;
  std::shared_ptr<int> alive_ = std::make_shared<int>(0);
};

}  // namespace ql
