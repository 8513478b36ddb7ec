// The button entries of the store: "BtnApp"+N, "NomApp"+N, "Icone"+N and, for a button with a
// texture of its own, "Texture"+N; N runs from 1 with no gap, main-bar records first.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "core/Bouton.h"
#include "core/Config.h"
#include "core/Store.h"

namespace ql {

// Writes one record's entry under its Numero (member form for a member).
void WriteButtonEntry(StoreKey& key, const TBouton& record);

// "target,BtnApp12-" -> ("target", 12); nothing when the value has no member suffix.
struct MemberRef {
  std::string btnApp;
  std::int32_t group = 0;
};
std::optional<MemberRef> ParseMemberSuffix(std::string_view value);

// "path,index" split at the last comma; a missing or malformed index reads as 0.
struct IconRef {
  std::string path;
  std::int32_t index = 0;
};
IconRef ParseIcone(std::string_view value);

// Rebuilds the list (already empty) from the entries of the dock key.
void LitBaseRegistre(KeyValueStore& store, ButtonList& list);

// Rewrites the dock key from the options and the list, renumbering the records. The key ends
// holding exactly what is written (stale entries and "exit" go), but nothing is removed before
// every new value is in place, so an interruption never leaves fewer buttons than before.
void EcritBaseRegistre(KeyValueStore& store, const TConfig& cfg, std::int32_t posTop, ButtonList& list);

}  // namespace ql
