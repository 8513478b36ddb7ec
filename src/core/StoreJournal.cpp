#include "core/StoreJournal.h"

#include <memory>
#include <set>

#include "core/Text.h"

namespace ql {

namespace {

constexpr std::string_view kWrites = "\\Write";
constexpr std::string_view kRemoves = "\\Remove";
constexpr std::string_view kComplete = "Complete";

std::string Below(std::string_view path, std::string_view sub) {
  std::string out(path);
  out += sub;
  return out;
}

// Writes the journal of the changes; false (and no journal left) when any part of it fails.
bool WriteJournal(KeyValueStore& store, const std::string& journal,
                  const std::vector<const NamedValue*>& writes, const std::vector<std::string>& removes) {
  if (!store.DeleteKey(journal)) return false;
  auto fail = [&] {
    store.DeleteKey(journal);
    return false;
  };
  auto writeKey = store.Open(Below(journal, kWrites), true);
  auto removeKey = store.Open(Below(journal, kRemoves), true);
  if (!writeKey || !removeKey) return fail();
  for (const NamedValue* w : writes) {
    if (!writeKey->Write(w->name, w->value)) return fail();
  }
  for (const std::string& name : removes) {
    if (!removeKey->WriteString(name, "")) return fail();
  }
  // Only now does the journal count: everything it describes is in place.
  auto mark = store.Open(journal, false);
  if (!mark || !mark->WriteString(kComplete, "1")) return fail();
  return true;
}

}  // namespace

std::string JournalPath(std::string_view path) { return Below(path, "\\Rewrite"); }

void RecoverKey(KeyValueStore& store, std::string_view path) {
  const std::string journal = JournalPath(path);
  {
    auto mark = store.Open(journal, false);
    if (!mark) return;
    if (mark->ReadString(kComplete) == "1") {
      if (auto key = store.Open(path, false)) {
        // Values already replayed before an interruption are not written again.
        if (auto writes = store.Open(Below(journal, kWrites), false)) {
          for (const std::string& name : writes->Names()) {
            auto value = writes->Read(name);
            if (value && key->Read(name) != value) key->Write(name, *value);
          }
        }
        if (auto removes = store.Open(Below(journal, kRemoves), false)) {
          for (const std::string& name : removes->Names()) {
            if (key->Read(name)) key->Remove(name);
          }
        }
      }
    }
  }
  store.DeleteKey(journal);
}

void RewriteKey(KeyValueStore& store, std::string_view path, const std::vector<NamedValue>& target) {
  RecoverKey(store, path);
  auto key = store.Open(path, true);
  if (!key) return;

  std::set<std::string> wanted;  // lower-cased: value names ignore case
  std::vector<const NamedValue*> writes;
  for (const NamedValue& t : target) {
    wanted.insert(ToLowerAscii(t.name));
    if (key->Read(t.name) != t.value) writes.push_back(&t);
  }
  std::vector<std::string> removes;
  for (std::string& name : key->Names()) {
    if (!wanted.contains(ToLowerAscii(name))) removes.push_back(std::move(name));
  }
  if (writes.empty() && removes.empty()) return;

  const std::string journal = JournalPath(path);
  const bool journaled = writes.size() + removes.size() > 1 && WriteJournal(store, journal, writes, removes);
  for (const NamedValue* w : writes) key->Write(w->name, w->value);
  for (const std::string& name : removes) key->Remove(name);
  if (journaled) store.DeleteKey(journal);
}

}  // namespace ql
