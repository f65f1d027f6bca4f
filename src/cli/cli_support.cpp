#include "cli/cli_support.h"

#include <algorithm>
#include <cerrno>
#include <exception>
#include <filesystem>
#include <iostream>
#include <new>
#include <stdexcept>
#include <streambuf>
#include <unistd.h>

#include "cli/commands.h"
#include "cli/shown_text.h"
#include "model/file_io.h"
#include "model/load_check.h"
#include "model/loader.h"
#include "model/save_target.h"
#include "model/saver.h"
#include "model/utf8.h"

namespace quillet::cli {

namespace {
bool contains(const std::vector<std::string>& list, const std::string& item)
{
    return std::find(list.begin(), list.end(), item) != list.end();
}

class Parser {
public:
    Parser(const std::vector<std::string>& args, const CommandOptions& options) : args_(args), options_(options) {}

    std::optional<Arguments> run()
    {
        Arguments parsed;
        bool optionsEnded = false;
        for (i_ = 0; i_ < args_.size(); ++i_) {
            const std::string& arg = args_[i_];
            if (optionsEnded || arg == "-" || arg.empty() || arg[0] != '-') {
                parsed.operands.push_back(arg);
            } else if (arg == "--") {
                optionsEnded = true;
            } else if (!takeOption(arg, parsed)) {
                return std::nullopt;
            }
        }
        return parsed;
    }

private:
    bool takeOption(const std::string& arg, Arguments& parsed)
    {
        std::size_t equals = arg.find('=');
        std::string name = arg.substr(0, equals);
        bool withValue = name == "--codepage" || contains(options_.valueOptions, name);
        if (contains(options_.flags, arg)) {
            parsed.flags.push_back(arg);
            return true;
        }
        if (!withValue) {
            usageError(commandPrefix() + "unknown option '" + arg + "'");
            return false;
        }
        std::string value;
        if (equals != std::string::npos) {
            value = arg.substr(equals + 1);
        } else if (i_ + 1 < args_.size()) {
            value = args_[++i_];
        } else {
            usageError(commandPrefix() +
                       (name == "--codepage" ? "--codepage needs a code page, such as 1251" : name + " needs a value"));
            return false;
        }
        if (name != "--codepage") {
            parsed.values.emplace_back(name, value);
            return true;
        }
        auto chosen = CodePage::byName(value);
        if (!chosen) {
            usageError(commandPrefix() + "unknown code page '" + value + "'");
            return false;
        }
        parsed.codePage = *chosen;
        return true;
    }

    // "list: " before a usage error, as the command is named, or nothing.
    std::string commandPrefix() const { return options_.namesItselfInErrors ? options_.name + ": " : ""; }

    const std::vector<std::string>& args_;
    const CommandOptions& options_;
    std::size_t i_ = 0;
};

// Standard output written by pieces with write(2), which keeps the error number of the first
// write that failed; after it nothing more is written.
class StandardOutputBuffer : public std::streambuf {
public:
    StandardOutputBuffer() { setp(buffer_, buffer_ + sizeof buffer_); }

    // The error number of the failed write, 0 while none failed.
    int failure() const { return failure_; }

protected:
    int_type overflow(int_type ch) override
    {
        if (!writePending()) return traits_type::eof();
        if (traits_type::eq_int_type(ch, traits_type::eof())) return traits_type::not_eof(ch);
        *pptr() = traits_type::to_char_type(ch);
        pbump(1);
        return ch;
    }
    int sync() override { return writePending() ? 0 : -1; }

private:
    bool writePending()
    {
        const char* at = pbase();
        while (failure_ == 0 && at < pptr()) {
            ssize_t written = ::write(STDOUT_FILENO, at, static_cast<std::size_t>(pptr() - at));
            if (written < 0 && errno != EINTR) failure_ = errno;
            if (written == 0) failure_ = EIO;
            if (written > 0) at += written;
        }
        setp(buffer_, buffer_ + sizeof buffer_);
        return failure_ == 0;
    }

    char buffer_[1 << 16];
    int failure_ = 0;
};

// Never destroyed: std::cout is flushed once more when the program ends, after the statics.
StandardOutputBuffer& standardOutput()
{
    static auto* buffer = new StandardOutputBuffer();
    return *buffer;
}

bool standardOutputFailureTold = false;
std::string fileWorkedOn;

// The whole of standard input, which may be a pipe. It is read once; a second "-" would find it
// empty.
Bytes readStandardInput()
{
    static bool read = false;
    if (read) throw IoError("Standard input is read only once");
    read = true;
    return readToEnd(STDIN_FILENO);
}

// Why a file could not be read or written. A folder is named as such: the system's "access
// denied" would send the person looking for rights.
std::string failureText(const std::string& path, const IoError& error)
{
    std::error_code ignored;
    return std::filesystem::is_directory(path, ignored) ? "Is a folder" : error.what();
}

void reportFileError(const std::string& path, const IoError& error)
{
    reportError(path, failureText(path, error));
}

// Standard output is no file that could be replaced whole: the bytes go out as they are made,
// and a failure shows only once some may have gone.
bool writeToStandardOutput(const Document& document)
{
    workingOn(StandardStream);
    try {
        writeResource(document, [](const std::uint8_t* data, std::size_t count) {
            if (std::cout) std::cout.write(reinterpret_cast<const char*>(data), static_cast<std::streamsize>(count));
        });
    } catch (const IoError& error) {
        reportError(StandardStream, error.what());
        return false;
    }
    if (document.fileCutShort()) {
        reportError(StandardStream, "Another program cut the file it was made from short while it was read: its lost "
                                    "bytes went out as 00");
        return false;
    }
    return standardOutputWritten();
}
}  // namespace

void workingOn(const std::string& path)
{
    fileWorkedOn = path;
}

int reportTrouble(const std::exception_ptr& trouble, int failure)
{
    std::string text;
    try {
        std::rethrow_exception(trouble);
    } catch (const std::bad_alloc&) {
        text = "not enough memory";
    } catch (const std::length_error&) {
        text = "not enough memory";
    } catch (const std::exception& error) {
        text = error.what();
    } catch (...) {
        text = "unexpected error";
    }
    if (fileWorkedOn.empty())
        std::cerr << "quillet-cli: " << withEscapedControls(text, false) << "\n";
    else
        reportError(fileWorkedOn, text);
    return failure;
}

void takeStandardOutput()
{
    std::cout.rdbuf(&standardOutput());
}

bool standardOutputWritten()
{
    std::cout.flush();
    int failure = standardOutput().failure();
    if (failure == 0 && std::cout.good()) return true;
    if (!standardOutputFailureTold) reportError("-", ioErrorText(failure != 0 ? failure : EIO));
    standardOutputFailureTold = true;
    return false;
}

int checkedOutput(int status, int failure)
{
    return standardOutputWritten() ? status : failure;
}

void reportError(const std::string& subject, const std::string& text)
{
    std::cerr << "quillet-cli: " << shownName(subject) << ": " << withEscapedControls(text, false) << "\n";
}

int usageError(const std::string& text)
{
    std::cerr << "quillet-cli: " << withEscapedControls(text, false) << "\nTry 'quillet-cli --help'.\n";
    return ExitUsage;
}

bool Arguments::has(const std::string& flag) const
{
    return contains(flags, flag);
}

std::optional<std::string> Arguments::value(const std::string& option) const
{
    std::optional<std::string> found;
    for (const auto& [name, given] : values)
        if (name == option) found = given;
    return found;
}

std::optional<Arguments> parseArguments(const std::vector<std::string>& args, const CommandOptions& options)
{
    return Parser(args, options).run();
}

std::optional<std::u16string> textArgument(const std::string& argument)
{
    std::optional<std::u16string> units = unitsFromUtf8(argument);
    if (!units) usageError("the text '" + argument + "' is not valid UTF-8");
    return units;
}

Bytes readToEnd(int fd)
{
    constexpr std::size_t Piece = std::size_t{1} << 16;
    Bytes bytes;
    for (;;) {
        std::size_t at = bytes.size();
        if (at > MaxReadLength)
            throw IoError("File too large: more than " + std::to_string(MaxReadLength) + " bytes can be read");
        if (bytes.capacity() < at + Piece)
            bytes.reserve(std::min<std::size_t>(std::max(2 * bytes.capacity(), at + Piece), MaxReadLength + Piece));
        bytes.resize(at + Piece);
        ssize_t got = ::read(fd, bytes.data() + at, Piece);
        bytes.resize(at + static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
        if (got == 0) return bytes;
        if (got < 0 && errno == EISDIR) throw IoError("Is a folder");
        if (got < 0 && errno != EINTR) throw ioErrorFromErrno();
    }
}

Bytes readInput(const std::string& path)
{
    workingOn(path);
    if (path == StandardStream) return readStandardInput();
    try {
        return readWholeFile(path);
    } catch (const IoError& error) {
        throw IoError(failureText(path, error));
    }
}

std::optional<Document> loadOrReport(const std::string& path)
{
    workingOn(path);
    try {
        return path == StandardStream ? parseResource(readStandardInput()) : loadResource(path);
    } catch (const IoError& error) {
        reportFileError(path, error);
    }
    return std::nullopt;
}

bool reportIfSourceChanged(const Document& document, const std::string& source)
{
    if (!document.mappedFileChanged()) return false;
    reportError(source, FileChangedWhileRead("the output stops here").what());
    return true;
}

CheckedOutput& CheckedOutput::operator<<(const std::string& text)
{
    text_ += text;
    if (text_.size() > (1 << 20)) giveOut();
    return *this;
}

void CheckedOutput::giveOut()
{
    if (!changed_) changed_ = reportIfSourceChanged(document_, source_);
    if (!changed_) std::cout << text_;
    text_.clear();
}

bool CheckedOutput::finish()
{
    giveOut();
    return !changed_;
}

void warnOfLoadDifferences(const Document& document, const std::string& out)
{
    for (const LoadDifference& difference : loadDifferences(document))
        reportError(out, "warning: " + describeLoadDifference(difference));
}

bool saveOrReport(const Document& document, const std::string& source, const std::string& path)
{
    if (path == StandardStream) return writeToStandardOutput(document);
    // Said, not refused: the person may mean to part the names.
    std::uint64_t names = namesOfSaveTarget(path);
    if (names > 1) reportError(path, "warning: " + severalNamesWarning(shownName(path), names));
    workingOn(path);
    try {
        saveResourceWhole(document, path);
        return true;
    } catch (const FileChangedWhileRead& error) {
        reportError(source, error.what());
    } catch (const IoError& error) {
        reportFileError(path, error);
    }
    return false;
}

}  // namespace quillet::cli
