#include "core/TaskList.h"

#include <algorithm>
#include <unordered_set>
#include <utility>

#include "core/WindowRules.h"

namespace ql {

namespace {

constexpr TaskButtonSize kLabelSize{130, 20};
constexpr TaskButtonSize kTileSize{48, 48};
constexpr TaskButtonSize kBigTileSize{64, 64};

bool IsContinuation(char c) { return (static_cast<unsigned char>(c) & 0xC0U) == 0x80U; }

// Byte offset of the character numbered `index` (from 0); the text's size past the end.
std::size_t OffsetOf(std::string_view text, std::size_t index) {
  std::size_t chars = 0;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (IsContinuation(text[i])) continue;
    if (chars == index) return i;
    ++chars;
  }
  return text.size();
}

std::size_t CharCount(std::string_view text) {
  return static_cast<std::size_t>(
      std::count_if(text.begin(), text.end(), [](char c) { return !IsContinuation(c); }));
}

}  // namespace

TaskButtonSize TaskButtonSizeOf(const TConfigTask& cfg) {
  if (cfg.SmallStyle) return kLabelSize;
  return cfg.BigIcon ? kBigTileSize : kTileSize;
}

TaskStyle TaskStyleOf(const TConfigTask& cfg) { return cfg.SmallStyle ? TaskStyle::sQL : TaskStyle::sNS; }

bool FrontTrimming(std::string_view text, std::string_view className) {
  if (className == kFolderClass) return true;
  if (className != kDialogClass) return false;
  const std::size_t percent = text.find('%');
  if (percent == std::string_view::npos) return false;
  // Positions counted from 1, in characters.
  const std::size_t position = CharCount(text.substr(0, percent)) + 1;
  return position > CharCount(text) / 2;
}

std::string TrimTaskLabel(std::string text, std::string_view className, int limit,
                          const std::function<int(std::string_view)>& width) {
  const bool front = FrontTrimming(text, className);
  if (front && width(text) > limit) text.replace(0, OffsetOf(text, 3), "...");
  while (width(text) >= limit) {
    if (front) {
      const std::size_t at = OffsetOf(text, 3);
      if (at >= text.size()) break;
      text.erase(at, OffsetOf(text, 4) - at);
    } else {
      if (text.empty()) break;
      std::size_t at = text.size() - 1;
      while (at > 0 && IsContinuation(text[at])) --at;
      text.erase(at);
    }
  }
  return text;
}

TaskList::TaskList(WindowSystem& system, const TConfigTask& cfg, TaskButtonMaker& maker,
                   const IconAssociations& icons, TaskDock dock)
    : system_(system), cfg_(cfg), maker_(maker), icons_(icons), dock_(std::move(dock)), lists_(system) {}

void TaskList::Init(int screenHeight) {
  EffaceBtn();
  headY_ = screenHeight - TaskButtonSizeOf(cfg_).height;
  posX_ = 0;
  posY_ = headY_;
  Rafraichir = true;
}

void TaskList::EffaceBtn() {
  while (!entries_.empty()) {
    entries_.back()->View.reset();
    entries_.pop_back();
  }
  tracked_.clear();
}

TaskEntry* TaskList::EntryOf(WindowId window) const {
  const auto it = tracked_.find(window);
  return it == tracked_.end() ? nullptr : it->second;
}

void TaskList::Tick(const TaskScreen& screen) {
  texts_.clear();
  bool changed = false;
  lists_.ListTaskWindows(texts_, changed);
  listed_.clear();
  for (const std::string& t : texts_) {
    if (const std::optional<std::uint32_t> h = ParseHandleText(t)) listed_.push_back(*h);
  }
  while (!entries_.empty() && entries_.back()->HFen == kNoWindow) {
    posX_ = entries_.back()->X;
    posY_ = entries_.back()->Y;
    entries_.pop_back();
  }
  if (changed || Rafraichir) {
    Remove(listed_);
    Add(listed_, screen);
  }
  Titles(listed_);
  States();
  Rafraichir = false;
}

void TaskList::Remove(const std::vector<WindowId>& listed) {
  const std::unordered_set<WindowId> present(listed.begin(), listed.end());
  for (const std::unique_ptr<TaskEntry>& e : entries_) {
    if (e->HFen == kNoWindow || present.contains(e->HFen)) continue;
    e->View.reset();  // the host window goes with its button
    tracked_.erase(e->HFen);
    e->HFen = kNoWindow;
    e->Bouton = TaskButtonInfo{};
  }
}

void TaskList::Add(const std::vector<WindowId>& listed, const TaskScreen& screen) {
  const TaskButtonSize size = TaskButtonSizeOf(cfg_);
  auto freeSlot = entries_.begin();
  for (const WindowId h : listed) {
    if (tracked_.contains(h)) continue;
    freeSlot = std::find_if(freeSlot, entries_.end(), [](const auto& e) { return e->HFen == kNoWindow; });
    TaskEntry* entry = nullptr;
    if (freeSlot != entries_.end()) {
      entry = freeSlot->get();  // keeps its place
    } else {
      const int limit = screen.showTray ? screen.trayLeft : screen.width;
      // A row holds one button at least, however narrow the room before the notification area.
      if (posX_ + size.width >= limit && posX_ > 0) {
        posX_ = 0;
        posY_ -= size.height;
      }
      entries_.push_back(std::make_unique<TaskEntry>());
      entry = entries_.back().get();
      entry->X = posX_;
      entry->Y = posY_;
      posX_ += size.width;
      freeSlot = entries_.end() - 1;
    }
    Fill(*entry, h);
    tracked_[h] = entry;
    entry->View = maker_.Make(*entry);
  }
}

void TaskList::Fill(TaskEntry& entry, WindowId window) {
  entry.Bouton = TaskButtonInfo{};
  entry.Bouton.Caption = system_.Title(window);
  entry.Bouton.ClasseFen = system_.ClassName(window);
  if (cfg_.IconDock) entry.Bouton.IconPath = ChooseIcon(entry.Bouton.ClasseFen, entry.Bouton.Caption);
  entry.Bouton.IconOnly = !system_.IsIconic(window);
  entry.HFen = window;
}

std::string TaskList::ChooseIcon(std::string_view className, std::string_view title) {
  if (dock_.DernierLance != nullptr && *dock_.DernierLance != kNoLaunch) {
    std::string path = dock_.IconOf ? dock_.IconOf(*dock_.DernierLance) : std::string();
    *dock_.DernierLance = kNoLaunch;
    return path;
  }
  if (!IsSharedClass(className)) {
    for (auto it = entries_.rbegin(); it != entries_.rend(); ++it) {
      const TaskEntry& e = **it;
      if (e.HFen != kNoWindow && e.Bouton.ClasseFen == className && !e.Bouton.IconPath.empty()) {
        return e.Bouton.IconPath;
      }
    }
  }
  std::string path = icons_.ClassIcon(className);
  if (path.empty()) path = icons_.IconeParTitre(title);
  return path;
}

void TaskList::Titles(const std::vector<WindowId>& listed) {
  for (const WindowId h : listed) {
    TaskEntry* e = EntryOf(h);
    if (e == nullptr) continue;
    std::string title = system_.Title(h);
    if (title == e->Bouton.Caption) continue;
    if (e->Bouton.ClasseFen == kFolderClass && cfg_.IconDock)
      e->Bouton.IconPath = icons_.IconeParTitre(title);
    e->Bouton.Caption = std::move(title);
    e->Bouton.ClasseFen = system_.ClassName(h);
    if (e->View) e->View->Changed(TaskChange::Window);
  }
}

void TaskList::States() {
  const WindowId foreground = system_.Foreground();
  const WindowId foregroundOwner = foreground != kNoWindow ? system_.Owner(foreground) : kNoWindow;
  for (const std::unique_ptr<TaskEntry>& e : entries_) {
    if (e->HFen == kNoWindow) continue;
    TaskButtonInfo& b = e->Bouton;
    TaskChange change = TaskChange::State;
    if (b.State == TaskState::Up && foreground == e->HFen) {
      b.State = TaskState::Down;
      b.IconOnly = !system_.IsIconic(e->HFen);
    } else if (b.State == TaskState::Down && foreground != e->HFen && foregroundOwner != e->HFen) {
      b.State = TaskState::Up;
      b.IconOnly = !system_.IsIconic(e->HFen);
    } else if (b.IconOnly && system_.IsIconic(e->HFen)) {
      b.IconOnly = false;
      change = TaskChange::IconOnly;
    } else {
      continue;
    }
    if (e->View) e->View->Changed(change);
  }
}

void TaskList::GestionFenetre(int mode) {
  for (const std::unique_ptr<TaskEntry>& e : entries_) {
    if (e->HFen == kNoWindow) continue;  // a free slot's close would go nowhere
    switch (mode) {
      case 1:
        system_.Command(e->HFen, WindowCommand::Minimize);
        e->Bouton.IconOnly = false;
        break;
      case 2:
        system_.Command(e->HFen, WindowCommand::Restore);
        e->Bouton.IconOnly = true;
        break;
      case 3:
        system_.Command(e->HFen, WindowCommand::Close);
        continue;
      default:
        return;
    }
    if (e->View) e->View->Changed(TaskChange::IconOnly);
  }
}

}  // namespace ql
