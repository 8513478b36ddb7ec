// A start that dies before its message loop (a damaged picture file that brings down the
// system's loaders, say) must not die again the same way: the next start runs without icons and
// textures. The mark of a start in progress is the subkey "Starting" of the dock key, out of
// reach of EcritBaseRegistre (which removes values only) and gone with the dock key when that is
// deleted by hand.
#pragma once

#include <string_view>

#include "core/Store.h"

namespace ql {

inline constexpr std::string_view kStartMarkKey = "SoftWare\\Wendor\\Quaylite\\Starting";

// Marks a start in progress; true when the previous start left its mark, having died before
// reaching its loop: this start then runs without pictures. Called in FormCreate after
// RecoverStore and before LitConfig.
bool BeginStart(KeyValueStore& store);

// Clears the mark once the start has reached its message loop (after FormShow).
void StartReachedLoop(KeyValueStore& store);

}  // namespace ql
