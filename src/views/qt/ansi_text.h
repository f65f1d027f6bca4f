#pragma once
#include <QString>

#include <string>
#include <string_view>

#include "model/codepage.h"

namespace quillet {

// Text of the code page as a widget shows it: up to its first NUL, like the classic controls.
inline QString toDisplay(const CodePage& codePage, std::string_view ansi)
{
    std::string_view shown = ansi.substr(0, ansi.find('\0'));
    return QString::fromStdString(codePage.toUtf8(shown));
}

}  // namespace quillet
