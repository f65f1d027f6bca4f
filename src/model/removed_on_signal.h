#pragma once
#include <string>

namespace quillet {

// A file removed if the process is ended by SIGINT, SIGTERM or SIGHUP while this value lives;
// the process then ends of that signal, as it would have. Only a signal whose action is still
// the default one is caught: one ignored stays ignored (as under nohup), and a program's own
// handler stays in charge.
class RemovedOnSignal {
public:
    explicit RemovedOnSignal(const std::string& path);
    ~RemovedOnSignal();
    RemovedOnSignal(const RemovedOnSignal&) = delete;
    RemovedOnSignal& operator=(const RemovedOnSignal&) = delete;

private:
    int slot_ = -1;  // -1 when there was no room to note the name
};

}  // namespace quillet
