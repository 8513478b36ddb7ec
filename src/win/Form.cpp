#include "win/Form.h"

namespace ql::win {

bool Form::CreateForm(HWND owner, const wchar_t* className, const std::wstring& caption, DWORD style,
                      DWORD exStyle, int x, int y, int width, int height) {
  if (!RegisterClassOnce(className, CS_DBLCLKS)) return false;
  return Create(exStyle, className, caption.c_str(), style & ~static_cast<DWORD>(WS_VISIBLE), x, y, width,
                height, owner, nullptr);
}

}  // namespace ql::win
