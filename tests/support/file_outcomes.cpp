#include "support/file_outcomes.h"

#include <fstream>

#include "model/file_io.h"

namespace quillet::test {

void writeText(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

std::string readOutcome(const std::string& path)
{
    try {
        Bytes bytes = readWholeFile(path);
        return std::string(bytes.begin(), bytes.end());
    } catch (const IoError& error) {
        return error.what();
    }
}

std::string saveOutcome(const std::string& path, const std::string& text)
{
    try {
        AtomicFileWriter file(path);
        file.write(text.data(), text.size());
        file.commit();
        return "saved";
    } catch (const IoError& error) {
        return error.what();
    }
}

}  // namespace quillet::test
