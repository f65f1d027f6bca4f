#pragma once

namespace quillet {

// Makes the icons under ":/icons/" available. They are compiled into a static library, whose
// unreferenced objects the linker drops, so the program calls this once before using them.
// Calling it again does nothing.
void loadAppResources();

}  // namespace quillet
