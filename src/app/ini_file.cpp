#include "app/ini_file.h"

#include <algorithm>
#include <charconv>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <system_error>

#include "model/file_io.h"
#include "model/translated.h"

namespace quillet {

namespace {

// The placement file is a few lines; anything far larger is not ours to parse.
constexpr std::uintmax_t MaximumIniSize = 1024 * 1024;

std::string trimmed(const std::string& text)
{
    const char* blanks = " \t\r\n\f\v";
    std::size_t first = text.find_first_not_of(blanks);
    if (first == std::string::npos) return std::string();
    std::size_t last = text.find_last_not_of(blanks);
    return text.substr(first, last - first + 1);
}

bool sameName(const std::string& a, const std::string& b)
{
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        auto lower = [](char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; };
        return lower(x) == lower(y);
    });
}

std::vector<std::string> linesOf(const std::string& text)
{
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        lines.push_back(text.substr(start, end - start));
        start = end + 1;
    }
    return lines;
}

// `what` says the path %1 and the reason %2.
std::string errorText(const char* what, const std::string& path, const std::error_code& error)
{
    return filled(what, {path, error.message()});
}

}  // namespace

IniFile IniFile::parse(const std::string& text)
{
    IniFile ini;
    Section* current = nullptr;
    for (const std::string& rawLine : linesOf(text)) {
        std::string line = trimmed(rawLine);
        if (line.empty() || line[0] == ';' || line[0] == '#') continue;
        if (line[0] == '[') {
            std::size_t close = line.find(']');
            current = close == std::string::npos ? nullptr : &ini.sectionForWriting(trimmed(line.substr(1, close - 1)));
            continue;
        }
        std::size_t equals = line.find('=');
        if (current == nullptr || equals == std::string::npos) continue;
        std::string key = trimmed(line.substr(0, equals));
        if (key.empty()) continue;
        bool known = std::any_of(current->entries.begin(), current->entries.end(),
                                 [&](const Entry& entry) { return sameName(entry.key, key); });
        if (!known) current->entries.push_back({key, trimmed(line.substr(equals + 1))});
    }
    return ini;
}

std::string IniFile::text() const
{
    std::string text;
    for (const Section& section : sections_) {
        if (!text.empty()) text += "\n";
        text += "[" + section.name + "]\n";
        for (const Entry& entry : section.entries) text += entry.key + "=" + entry.value + "\n";
    }
    return text;
}

const IniFile::Section* IniFile::findSection(const std::string& name) const
{
    auto found = std::find_if(sections_.begin(), sections_.end(),
                              [&](const Section& section) { return sameName(section.name, name); });
    return found == sections_.end() ? nullptr : &*found;
}

IniFile::Section& IniFile::sectionForWriting(const std::string& name)
{
    auto found = std::find_if(sections_.begin(), sections_.end(),
                              [&](const Section& section) { return sameName(section.name, name); });
    if (found != sections_.end()) return *found;
    sections_.push_back({name, {}});
    return sections_.back();
}

bool IniFile::hasSection(const std::string& section) const
{
    return findSection(section) != nullptr;
}

std::optional<std::string> IniFile::readString(const std::string& section, const std::string& key) const
{
    const Section* found = findSection(section);
    if (found == nullptr) return std::nullopt;
    for (const Entry& entry : found->entries)
        if (sameName(entry.key, key)) return entry.value;
    return std::nullopt;
}

std::string IniFile::readString(const std::string& section, const std::string& key, const std::string& fallback) const
{
    return readString(section, key).value_or(fallback);
}

int IniFile::readInteger(const std::string& section, const std::string& key, int fallback) const
{
    std::optional<std::string> value = readString(section, key);
    if (!value) return fallback;
    return parseInteger(*value).value_or(fallback);
}

void IniFile::writeString(const std::string& section, const std::string& key, const std::string& value)
{
    Section& target = sectionForWriting(section);
    for (Entry& entry : target.entries) {
        if (sameName(entry.key, key)) {
            entry.value = value;
            return;
        }
    }
    target.entries.push_back({key, value});
}

void IniFile::writeInteger(const std::string& section, const std::string& key, int value)
{
    writeString(section, key, std::to_string(value));
}

void IniFile::clearSection(const std::string& section)
{
    sectionForWriting(section).entries.clear();
}

std::optional<int> parseInteger(const std::string& text)
{
    std::string number = trimmed(text);
    if (!number.empty() && number[0] == '+') {
        number.erase(0, 1);
        if (number.empty() || number[0] < '0' || number[0] > '9') return std::nullopt;
    }
    int value = 0;
    const char* end = number.data() + number.size();
    auto [stop, error] = std::from_chars(number.data(), end, value);
    if (error != std::errc() || stop != end) return std::nullopt;
    return value;
}

IniFile loadIniFile(const std::string& path)
{
    std::error_code error;
    std::uintmax_t size = std::filesystem::file_size(path, error);
    if (error || size > MaximumIniSize) return IniFile();
    std::ifstream file(path, std::ios::binary);
    if (!file) return IniFile();
    std::ostringstream content;
    content << file.rdbuf();
    return IniFile::parse(content.str());
}

std::optional<std::string> saveIniFile(const std::string& path, const IniFile& ini)
{
    std::error_code error;
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    if (!folder.empty()) {
        std::filesystem::create_directories(folder, error);
        if (error) return errorText(translated("Cannot create the folder \"%1\": %2"), folder.string(), error);
    }
    try {
        AtomicFileWriter file(path);
        std::string text = ini.text();
        file.write(text.data(), text.size());
        file.commit();
    } catch (const IoError& failure) {
        return filled(translated("Cannot write \"%1\": %2"), {path, failure.what()});
    }
    return std::nullopt;
}

}  // namespace quillet
