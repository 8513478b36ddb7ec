// The dock's sounds: wave files played asynchronously, a new one cutting the one playing.
#pragma once

#include <string_view>

namespace ql::win {

// Plays the wave file; a missing or unreadable file plays nothing (not the system's default
// sound: a sound the user chose and later deleted should not turn into a beep at every click).
void PlaySoundFile(std::string_view file);

}  // namespace ql::win
