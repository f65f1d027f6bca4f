#pragma once
#include <optional>
#include <string>
#include <vector>

namespace quillet {

// An INI text held in memory: sections and their keys in the order of the file. Names match
// without regard to ASCII case, as the classic profile files do; the first of two equal keys
// wins. Key names are kept as written, parentheses and all.
class IniFile {
public:
    // Reads any text: CRLF or LF, blanks around names and values, comment lines (";" or "#"),
    // lines without "=", unclosed section headers and keys before the first section are
    // passed over.
    static IniFile parse(const std::string& text);
    // "[section]" then "key=value" lines, LF line ends, a blank line between sections.
    std::string text() const;

    bool hasSection(const std::string& section) const;
    std::optional<std::string> readString(const std::string& section, const std::string& key) const;
    std::string readString(const std::string& section, const std::string& key, const std::string& fallback) const;
    // The whole value as a decimal integer, or the fallback when it is missing or not one.
    int readInteger(const std::string& section, const std::string& key, int fallback) const;

    // Replaces the value in place, or adds the key at the end of its section (and the section
    // at the end of the file).
    void writeString(const std::string& section, const std::string& key, const std::string& value);
    void writeInteger(const std::string& section, const std::string& key, int value);
    // Removes the keys of a section and keeps the section where it stands.
    void clearSection(const std::string& section);

private:
    struct Entry {
        std::string key;
        std::string value;
    };
    struct Section {
        std::string name;
        std::vector<Entry> entries;
    };

    const Section* findSection(const std::string& name) const;
    Section& sectionForWriting(const std::string& name);

    std::vector<Section> sections_;
};

// A decimal integer with an optional sign, blanks around it allowed; nothing for any other text
// or a number out of the int range.
std::optional<int> parseInteger(const std::string& text);

// The file's content, or an empty INI when it is missing, unreadable or unreasonably large.
IniFile loadIniFile(const std::string& path);
// Writes the text through the editor's one atomic file writer, so a failed save leaves the old
// file whole and a saved one keeps its mode and owner and survives a crash. Creates the folder
// when it is missing. Returns the reason of a failure.
std::optional<std::string> saveIniFile(const std::string& path, const IniFile& ini);

}  // namespace quillet
