// Message routing as a short chain: each part of a window that owns messages gives a handler, and
// the window tries them in turn before handling the message itself (the idea of a CHAIN_MSG_MAP).
#pragma once

#include <functional>
#include <vector>

#include "win/Win.h"

namespace ql::win {

class MessageChain {
 public:
  // True when the handler took the message; `result` is then the window's answer.
  using Handler = std::function<bool(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

  void Add(Handler handler) { handlers_.push_back(std::move(handler)); }

  bool Dispatch(UINT msg, WPARAM wParam, LPARAM lParam, LRESULT& result) const {
    for (const Handler& handler : handlers_) {
      if (handler(msg, wParam, lParam, result)) return true;
    }
    return false;
  }

 private:
  std::vector<Handler> handlers_;
};

}  // namespace ql::win
