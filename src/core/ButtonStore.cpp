#include "core/ButtonStore.h"

#include <algorithm>
#include <map>

#include "core/ConfigStore.h"
#include "core/StoreJournal.h"
#include "core/Text.h"

namespace ql {

namespace {

constexpr std::string_view kMemberMark = ",BtnApp";

std::string EntryName(std::string_view prefix, std::int32_t n) {
  std::string name(prefix);
  name += Decimal(n);
  return name;
}

std::string StoredBtnApp(const TBouton& record) {
  if (record.NumBranche == 0) return record.BtnApp;
  std::string value = record.BtnApp;
  value += kMemberMark;
  value += Decimal(record.NumBranche);
  value += '-';
  return value;
}

// Collects what is written to it as the values a key must end with, in the order of writing;
// a name written again (in any case) keeps its place and takes the new value.
class TargetKey final : public StoreKey {
 public:
  std::optional<StoreValue> Read(std::string_view name) const override {
    auto it = Find(name);
    if (it == values_.end()) return std::nullopt;
    return it->value;
  }
  bool Write(std::string_view name, const StoreValue& value) override {
    auto it = Find(name);
    if (it == values_.end()) {
      values_.push_back({std::string(name), value});
    } else {
      it->value = value;
    }
    return true;
  }
  bool Remove(std::string_view name) override {
    auto it = Find(name);
    if (it == values_.end()) return false;
    values_.erase(it);
    return true;
  }
  std::vector<std::string> Names() const override {
    std::vector<std::string> names;
    for (const auto& v : values_) names.push_back(v.name);
    return names;
  }
  const std::vector<NamedValue>& values() const { return values_; }

 private:
  std::vector<NamedValue>::iterator Find(std::string_view name) {
    return std::find_if(values_.begin(), values_.end(),
                        [&](const NamedValue& v) { return SameValueName(v.name, name); });
  }
  std::vector<NamedValue>::const_iterator Find(std::string_view name) const {
    return std::find_if(values_.begin(), values_.end(),
                        [&](const NamedValue& v) { return SameValueName(v.name, name); });
  }

  std::vector<NamedValue> values_;
};

}  // namespace

void WriteButtonEntry(StoreKey& key, const TBouton& record) {
  const std::int32_t n = record.Numero;
  key.WriteString(EntryName("NomApp", n), record.NomApp);
  key.WriteString(EntryName("Icone", n), record.IconPath + "," + Decimal(record.IconIndex));
  if (record.Texture.empty()) {
    key.Remove(EntryName("Texture", n));
  } else {
    key.WriteString(EntryName("Texture", n), record.Texture);
  }
  // Last, so that an entry written straight into the key becomes readable only once whole.
  key.WriteString(EntryName("BtnApp", n), StoredBtnApp(record));
}

std::optional<MemberRef> ParseMemberSuffix(std::string_view value) {
  if (value.empty() || value.back() != '-') return std::nullopt;
  std::size_t digitsEnd = value.size() - 1;
  std::size_t digitsBegin = digitsEnd;
  while (digitsBegin > 0 && value[digitsBegin - 1] >= '0' && value[digitsBegin - 1] <= '9') {
    --digitsBegin;
  }
  if (digitsBegin == digitsEnd || digitsBegin < kMemberMark.size()) return std::nullopt;
  if (value.substr(digitsBegin - kMemberMark.size(), kMemberMark.size()) != kMemberMark) {
    return std::nullopt;
  }
  // A number too large for any entry still marks a member: of a group that cannot exist.
  const auto group = ParseDecimal(value.substr(digitsBegin, digitsEnd - digitsBegin)).value_or(0);
  return MemberRef{std::string(value.substr(0, digitsBegin - kMemberMark.size())), group};
}

IconRef ParseIcone(std::string_view value) {
  auto comma = value.rfind(',');
  if (comma == std::string_view::npos) return IconRef{std::string(value), 0};
  return IconRef{std::string(value.substr(0, comma)), ParseDecimal(value.substr(comma + 1)).value_or(0)};
}

void LitBaseRegistre(KeyValueStore& store, ButtonList& list) {
  auto key = store.Open(kDockKey, false);
  if (!key) return;
  struct Found {
    std::int32_t n;
    std::string btnApp;
  };
  std::vector<Found> entries;
  for (std::int32_t n = 1;; ++n) {
    auto btnApp = key->ReadString(EntryName("BtnApp", n));
    if (!btnApp || btnApp->empty()) break;
    entries.push_back({n, std::move(*btnApp)});
  }
  auto dataOf = [&](std::int32_t n, std::string btnApp) {
    IconRef icon = ParseIcone(key->ReadString(EntryName("Icone", n)).value_or(""));
    return ButtonData{key->ReadString(EntryName("NomApp", n)).value_or(""), std::move(btnApp),
                      std::move(icon.path), key->ReadString(EntryName("Texture", n)).value_or(""),
                      icon.index};
  };
  std::map<std::int32_t, TBouton*> mainBar;  // by entry number, for the members' second pass
  for (auto& e : entries) {
    if (ParseMemberSuffix(e.btnApp)) continue;
    TBouton& record = list.Append(dataOf(e.n, e.btnApp));
    record.Numero = e.n;
    mainBar.emplace(e.n, &record);
  }
  for (auto& e : entries) {
    auto member = ParseMemberSuffix(e.btnApp);
    if (!member) continue;
    auto group = mainBar.find(member->group);
    if (group == mainBar.end()) continue;  // its group is gone: dropped
    list.AppendMember(*group->second, dataOf(e.n, std::move(member->btnApp))).Numero = e.n;
  }
}

void RecoverStore(KeyValueStore& store) { RecoverKey(store, kDockKey); }

void EcritBaseRegistre(KeyValueStore& store, const TConfig& cfg, std::int32_t posTop, ButtonList& list) {
  list.RenumBtn(nullptr);
  TargetKey target;
  WriteOptions(target, cfg, posTop);
  for (TBouton* r = list.First(); r != nullptr; r = r->Suivant.get()) WriteButtonEntry(target, *r);
  for (TBouton* r = list.First(); r != nullptr; r = r->Suivant.get()) {
    for (TBouton* m = r->Branche.get(); m != nullptr; m = m->Branche.get()) WriteButtonEntry(target, *m);
  }
  RewriteKey(store, kDockKey, target.values());
}

}  // namespace ql
