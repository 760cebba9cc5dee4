#include <gtest/gtest.h>

#include "platform/FSUserFolders.h"

TEST(UserFolders, FindsThePicturesFolderInTheUserDirectorySettings) {
    const struct {
        const char* file;
        const char* expected;
    } cases[] = {
        {"XDG_PICTURES_DIR=\"$HOME/Pictures\"\n", "/home/ada/Pictures/"},
        {"# comment\nXDG_DESKTOP_DIR=\"$HOME/Desktop\"\n  XDG_PICTURES_DIR=\"/data/pics/\"\n", "/data/pics/"},
        {"XDG_PICTURES_DIR=\"$HOME/A\"\nXDG_PICTURES_DIR=\"$HOME/B\"\n", "/home/ada/B/"},
        // The home folder itself means "no pictures folder".
        {"XDG_PICTURES_DIR=\"$HOME/\"\n", ""},
        {"XDG_PICTURES_DIR=\"$HOME\"\n", ""},
        // Relative paths, other variables and broken lines are not allowed in the file.
        {"XDG_PICTURES_DIR=\"Pictures\"\n", ""},
        {"XDG_PICTURES_DIR=\"$HOMEX/Pictures\"\n", ""},
        {"XDG_PICTURES_DIR=\"$HOME/Pictures\n", ""},
        {"", ""},
    };
    for (const auto& c : cases)
        EXPECT_EQ(platform::PicturesFolderOf(c.file, "/home/ada"), c.expected) << c.file;
    EXPECT_EQ(platform::PicturesFolderOf("XDG_PICTURES_DIR=\"$HOME/Pictures\"\n", ""), "");
}
