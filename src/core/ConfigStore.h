// Reading and writing the dock's options and the lock values.
#pragma once

#include <cstdint>
#include <string_view>

#include "core/Config.h"
#include "core/Store.h"

namespace ql {

// Reads every option of the dock key into `cfg` (defaults for missing, empty or malformed
// values), then the lock values. Returns SortieNormale: false only when "exit" is "0".
// Applying HideDesktop to the desktop is the caller's business.
bool LitConfig(KeyValueStore& store, TConfig& cfg);

// Writes the options into an open dock key, in the store's order; "PosTop" is given by the
// caller, who takes it from the dock window at this moment.
void WriteOptions(StoreKey& key, const TConfig& cfg, std::int32_t posTop);

// "Init" (the scrambled password) and "Provider" under the lock key. The scrambled text is
// stored as bytes so that a scrambled character of code 0 reads back whole.
void EcritVerrou(KeyValueStore& store, const TConfig& cfg);

// "exit" in the dock key: "1" at a normal close, "0" while a hot-key lock is in force.
void EcritSortie(KeyValueStore& store, std::string_view value);

}  // namespace ql
