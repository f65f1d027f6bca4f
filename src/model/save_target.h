#pragma once
#include <cstdint>
#include <string>
#include <sys/stat.h>

namespace quillet {

// The file a save to a name replaces, with what is there now.
struct SaveTarget {
    std::string path;     // the name the new file takes, its symbolic links followed
    bool exists = false;  // false: the save makes a new file under `path`
    struct stat info {};  // the file replaced, when there is one
};

// Follows the name's symbolic links only where the system lets this user write through them,
// and refuses at once, before anything is written, what must not or cannot be replaced:
// another user's link in a sticky folder open to all, a file this user may not write,
// anything that is not a regular file. Throws IoError.
SaveTarget saveTargetOf(const std::string& path);

// How many names (hard links) the file has that a save to `path` would replace: 0 when there
// is none or it cannot be told. With more than one, the save gives this name a new file and
// the other names keep the old content, which the person is told before saving.
std::uint64_t namesOfSaveTarget(const std::string& path);
// What that means, said of the file as `shownName`: "NAME has 2 names: saving gives this name a
// new file, the others keep the old content".
std::string severalNamesWarning(const std::string& shownName, std::uint64_t names);

}  // namespace quillet
