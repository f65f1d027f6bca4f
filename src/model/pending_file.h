#pragma once
#include <functional>
#include <optional>
#include <string>
#include <sys/types.h>

#include "model/removed_on_signal.h"

namespace quillet {

// The new content of a file, written aside until it takes the file's name. Where the file
// system allows, it has no name at all until then, so that a process killed meanwhile leaves
// nothing behind; elsewhere it has a hidden name next to the target (".qlt-" and six letters),
// removed also when the process is ended by SIGINT, SIGTERM or SIGHUP.
class PendingFile {
public:
    // In `folder`, with `mode` as the system gives it to a new file: the umask, or the folder's
    // default access control list, applied. Throws IoError.
    PendingFile(const std::string& folder, mode_t mode);
    ~PendingFile();  // removes the file unless it took its name
    PendingFile(const PendingFile&) = delete;
    PendingFile& operator=(const PendingFile&) = delete;

    int descriptor() const { return fd_; }
    // Closes the file and puts it in the place of `target` in one step, so that the name holds
    // either the old file or the whole new one, whenever the process ends. `beforeRename` runs
    // last before that step; what it throws leaves the target as it was. Throws IoError.
    void replace(const std::string& target, const std::function<void()>& beforeRename = {});

private:
    void takeHiddenName(const std::string& name);
    void nameUnnamedFile();

    std::string folder_;
    std::string hiddenName_;  // empty while the file has none
    std::optional<RemovedOnSignal> removal_;
    int fd_ = -1;
};

}  // namespace quillet
