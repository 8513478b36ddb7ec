// A task bar over the fake window system: the core list with button views that record what they
// were told, and a folder of its own for QL.TMP.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "FakeWindowSystem.h"
#include "core/TaskList.h"

namespace ql::test {

// A folder under the system's temporary folder, named after the running test, removed at the end.
class ScratchFolder {
 public:
  ScratchFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    path_ = std::filesystem::temp_directory_path() /
            (std::string("ql_") + info->test_suite_name() + "_" + info->name());
    std::filesystem::remove_all(path_);
    std::filesystem::create_directories(path_);
  }
  ScratchFolder(const ScratchFolder&) = delete;
  ScratchFolder& operator=(const ScratchFolder&) = delete;
  ~ScratchFolder() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  const std::filesystem::path& path() const { return path_; }

 private:
  std::filesystem::path path_;
};

inline void WriteFile(const std::filesystem::path& file, const std::string& bytes) {
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out << bytes;
}

inline std::string ReadFile(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

struct RecordingView final : TaskButtonView {
  explicit RecordingView(std::vector<TaskChange>& log, int& live) : log_(log), live_(live) { ++live_; }
  ~RecordingView() override { --live_; }
  void Changed(TaskChange change) override { log_.push_back(change); }
  std::vector<TaskChange>& log_;
  int& live_;
};

struct RecordingMaker final : TaskButtonMaker {
  std::unique_ptr<TaskButtonView> Make(TaskEntry& entry) override {
    made.push_back(entry.HFen);
    return std::make_unique<RecordingView>(changes, live);
  }
  std::vector<WindowId> made;
  std::vector<TaskChange> changes;
  int live = 0;
};

// 1024 x 768 with the notification area from x 900, as the tests of the layout use it.
struct TaskDesk {
  explicit TaskDesk(TConfigTask config = {}) : cfg(std::move(config)) { list.Init(screen.height); }

  void Tick() { list.Tick(screen); }

  struct Place {
    int x;
    int y;
    bool operator==(const Place&) const = default;
  };
  Place PlaceOf(WindowId w) const {
    const TaskEntry* e = list.EntryOf(w);
    return e != nullptr ? Place{e->X, e->Y} : Place{-1, -1};
  }

  ScratchFolder folder;
  FakeWindowSystem system;
  TConfigTask cfg;
  RecordingMaker maker;
  IconAssociations icons{folder.path()};
  std::int32_t dernierLance = kNoLaunch;
  std::vector<std::string> dockIcons{"c:\\dock\\zero.ico", "c:\\dock\\one.ico", "c:\\dock\\two.ico"};
  TaskScreen screen{1024, 768, true, 900};
  TaskList list{system, cfg, maker, icons,
                TaskDock{&dernierLance, [this](std::int32_t n) {
                           return n >= 0 && n < static_cast<std::int32_t>(dockIcons.size()) ? dockIcons[n]
                                                                                            : std::string();
                         }}};
};

}  // namespace ql::test
