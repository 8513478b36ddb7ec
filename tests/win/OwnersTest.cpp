// The owners of registrations (hot key, drop target, timers), the thread-wide modal scope and the
// message chain, on real windows.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "win/Form.h"
#include "win/MessageChain.h"
#include "win/ModalScope.h"
#include "win/Registrations.h"
#include "win/TimerSet.h"

namespace ql {
namespace {

class Plain final : public win::Form {
 public:
  explicit Plain(bool visible = true) {
    CreateForm(nullptr, L"QlOwnersTestWindow", L"", WS_POPUP, WS_EX_TOOLWINDOW, 0, 0, 20, 20);
    if (visible) Show(SW_SHOWNOACTIVATE);
  }

 protected:
  LRESULT HandleMessage(UINT msg, WPARAM wParam, LPARAM lParam) override {
    if (timers.HandleMessage(msg, wParam, lParam)) return 0;
    return Form::HandleMessage(msg, wParam, lParam);
  }

 public:
  win::TimerSet timers;
};

// Runs the thread's messages until `done` holds or a second has gone.
template <typename Done>
void PumpUntil(Done done) {
  const DWORD start = ::GetTickCount();
  MSG msg;
  while (!done() && ::GetTickCount() - start < 1000) {
    if (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE) != FALSE) {
      ::DispatchMessageW(&msg);
    } else {
      ::Sleep(1);
    }
  }
}

TEST(TimerSet, TicksRouteToTheirCallbacksAndStopWithTheSet) {
  Plain window;
  window.timers.Attach(window.hwnd());
  int a = 0;
  int b = 0;
  const auto idA = window.timers.Start(10, [&] { ++a; });
  win::TimerSet::Id idB = 0;
  idB = window.timers.Start(10, [&] {
    ++b;
    window.timers.Stop(idB);  // a callback may stop its own timer
  });
  ASSERT_NE(idA, 0U);
  ASSERT_NE(idB, idA);
  PumpUntil([&] { return a >= 3; });
  EXPECT_GE(a, 3);
  EXPECT_EQ(b, 1);
  EXPECT_FALSE(window.timers.Running(idB));
  // Someone else's timer on the same window is not the set's.
  EXPECT_FALSE(window.timers.HandleMessage(WM_TIMER, 1, 0));
  window.timers.StopAll();
  EXPECT_EQ(window.timers.size(), 0U);
  const int stopped = a;
  PumpUntil([] { return false; });
  EXPECT_EQ(a, stopped);
  EXPECT_EQ(win::TimerSet().Start(10, [] {}), 0U);  // no window: no timer
}

TEST(Registrations, AHotKeyIsHeldUntilItsOwnerGoesAndMovesWithIt) {
  Plain window;
  Plain other;
  win::HotKey moved;
  {
    win::HotKey key;
    ASSERT_TRUE(key.Register(window.hwnd(), 0, MOD_CONTROL, VK_F11));
    EXPECT_FALSE(win::HotKey().Register(other.hwnd(), 1, MOD_CONTROL, VK_F11));  // taken
    moved = std::move(key);
  }
  EXPECT_TRUE(moved.Registered());
  EXPECT_FALSE(win::HotKey().Register(other.hwnd(), 1, MOD_CONTROL, VK_F11));
  moved.Release();
  win::HotKey again;
  EXPECT_TRUE(again.Register(other.hwnd(), 1, MOD_CONTROL, VK_F11));
}

TEST(Registrations, ADropTargetAcceptsFilesUntilReleased) {
  Plain window;
  const auto accepts = [&] {
    return (::GetWindowLongW(window.hwnd(), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
  };
  {
    win::DropTarget target;
    target.Accept(window.hwnd());
    EXPECT_TRUE(accepts());
  }
  EXPECT_FALSE(accepts());
}

TEST(ModalScope, DisablesTheThreadsShownWindowsButOneAndGivesBackExactlyThose) {
  Plain keep;
  Plain shown;
  Plain hidden(false);
  Plain alreadyOff;
  ::EnableWindow(alreadyOff.hwnd(), FALSE);
  {
    win::ThreadModalScope scope(keep.hwnd());
    EXPECT_TRUE(::IsWindowEnabled(keep.hwnd()));
    EXPECT_FALSE(::IsWindowEnabled(shown.hwnd()));
    EXPECT_TRUE(::IsWindowEnabled(hidden.hwnd()));
  }
  EXPECT_TRUE(::IsWindowEnabled(shown.hwnd()));
  EXPECT_FALSE(::IsWindowEnabled(alreadyOff.hwnd()));  // it was not the scope's to enable
}

TEST(MessageChain, TheFirstPartThatTakesAMessageAnswersIt) {
  win::MessageChain chain;
  std::vector<std::string> asked;
  chain.Add([&](UINT msg, WPARAM, LPARAM, LRESULT&) {
    asked.push_back("tiles");
    return msg == WM_MOUSEMOVE;
  });
  chain.Add([&](UINT msg, WPARAM, LPARAM, LRESULT& result) {
    asked.push_back("timers");
    result = 7;
    return msg == WM_TIMER;
  });
  LRESULT result = 0;
  EXPECT_TRUE(chain.Dispatch(WM_TIMER, 0, 0, result));
  EXPECT_EQ(result, 7);
  EXPECT_TRUE(chain.Dispatch(WM_MOUSEMOVE, 0, 0, result));
  EXPECT_FALSE(chain.Dispatch(WM_PAINT, 0, 0, result));
  EXPECT_EQ(asked, (std::vector<std::string>{"tiles", "timers", "tiles", "tiles", "timers"}));
}

}  // namespace
}  // namespace ql
