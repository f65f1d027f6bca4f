#include "model/texts_formats.h"

#include <algorithm>
#include <filesystem>

#include "model/translated.h"

namespace quillet {

// Each format's own file defines it.
const TextsFormat& tsvTextsFormat();
const TextsFormat& poTextsFormat();

const std::vector<TextsFormatRow>& textsFormats()
{
    static const std::vector<TextsFormatRow> rows = {
        {"tsv",
         "one line per block: segment number, TAB, text in UTF-8",
         markedForTranslation("Tab-separated texts"),
         {".txt", ".tsv"},
         tsvTextsFormat()},
        {"po",
         "gettext PO, one entry per block, for translation tools",
         markedForTranslation("gettext PO files"),
         {".po", ".pot"},
         poTextsFormat()},
    };
    return rows;
}

const TextsFormatRow* textsFormatNamed(std::string_view name)
{
    for (const TextsFormatRow& row : textsFormats())
        if (row.name == name) return &row;
    return nullptr;
}

const TextsFormatRow& textsFormatOfFileName(const std::string& fileName)
{
    std::string extension = extensionOf(fileName);
    for (const TextsFormatRow& row : textsFormats())
        if (std::find(row.extensions.begin(), row.extensions.end(), extension) != row.extensions.end()) return row;
    return textsFormats().front();
}

const TextsFormatRow& textsFormatOfText(std::string_view text)
{
    for (const TextsFormatRow& row : textsFormats())
        if (row.format.recognises(text)) return row;
    return textsFormats().front();
}

std::string extensionOf(const std::string& fileName)
{
    std::string name = std::filesystem::path(fileName).filename().string();
    std::size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot + 1 == name.size()) return {};
    std::string extension = name.substr(dot);
    for (char& ch : extension)
        if (ch >= 'A' && ch <= 'Z') ch = static_cast<char>(ch - 'A' + 'a');
    return extension;
}

}  // namespace quillet
