#pragma once

namespace quillet::test {

// Has the system refuse unnamed files (O_TMPFILE) to this process from now on, as a file
// system without them does. For a child process only: it cannot be undone. False where the
// system does not let a process restrict itself so.
bool refuseUnnamedFiles();

}  // namespace quillet::test
