// The one place that reads picture files: texture bitmaps, icon files, and the icons of programs
// and libraries. Each file is first checked against its own headers and its size
// (core/PictureCheck): the system's loaders trust what a file says and a damaged one can crash
// them inside the dock, so a damaged file is unreadable here, as a missing one is.
#pragma once

#include <cstdint>
#include <string>

#include "core/PictureCheck.h"
#include "win/Handles.h"

namespace ql {

// What checking a file found.
enum class PictureFile : std::uint8_t {
  Unopened,  // missing, a folder, or not to be opened
  Damaged,   // opened, but its headers or its size say the loader must not see it
  Sound,
};
// Whether picture files are read at all. A start that follows one which died before its message
// loop (inside a system loader, say) turns them off for its whole run: the bar comes up with
// plain tiles, and the next start reads them again. Nothing of the settings changes.
void ReadPictureFiles(bool on);
bool PictureFilesRead();

// A program file is checked for the extraction of icon `index`.
PictureFile CheckPictureFile(const std::string& path, PictureKind kind, std::int32_t index = 0);

// A bitmap file loaded for a texture; empty when the file is not a sound, readable bitmap.
win::Bitmap LoadTexture(const std::string& path);

// Steps 2 to 4 of the button's icon loading for one path: an ".ico" file read at size x size;
// an icon pair extracted from a program, library or icon library at `index` (the small one when
// size <= 16); the shell's icon of the file otherwise, or when the extraction gave nothing.
// A damaged icon file gives nothing; a damaged program, or any other damaged program file that
// the shell would read its icon from, gives the shell's icon for its type, the file left unread.
// Empty when the path is empty or nothing could be read.
win::Icon LoadPathIcon(const std::string& path, std::int32_t index, std::int32_t size);

}  // namespace ql
