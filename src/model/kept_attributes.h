#pragma once
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace quillet {

// What a save keeps of the file it replaces, as `cp -p` keeps it: the owner and group, the mode
// with its set-user-ID and set-group-ID bits, and the extended attributes, access control lists
// among them.
class KeptAttributes {
public:
    // Reads them from the file at `path` (no symbolic link), which `info` describes. Throws IoError.
    KeptAttributes(const std::string& path, const struct stat& info);

    // Gives them to the new file once all its bytes are written: a write and a change of owner
    // both clear the set-ID bits, so the mode comes last. What this user may not set (another
    // owner, a protected attribute) stays as the file was made. Throws IoError.
    void applyTo(int fd) const;

private:
    uid_t owner_;
    gid_t group_;
    mode_t mode_;
    std::vector<std::pair<std::string, std::string>> extended_;  // names and values
};

}  // namespace quillet
