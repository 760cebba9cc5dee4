#pragma once
// The desktop's folders for the player's own things, as the XDG user-directory settings
// name them ("~/.config/user-dirs.dirs").
#include <string>

namespace platform {

// The pictures folder, ending in '/': XDG_PICTURES_DIR of the user-directory settings of
// configHome ($XDG_CONFIG_HOME, else ~/.config) with "$HOME" put in. Empty when none is
// set, or when it is the home folder itself (the desktop's way of saying "none").
std::string PicturesFolder();
// The same, from the text of a "user-dirs.dirs" file and the home folder.
std::string PicturesFolderOf(const std::string& userDirs, const std::string& home);

}  // namespace platform
