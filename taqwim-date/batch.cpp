#include "batch.h"

#include "messages.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <memory>

namespace taqwim_date {
namespace {

constexpr std::size_t BlockSize = 1 << 16;

struct FileCloser
{
    void operator()(std::FILE *file) const
    {
        if (file != stdin)
            std::fclose(file);
    }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

struct LineBuffer
{
    ~LineBuffer() { std::free(text); }
    char *text = nullptr;
    std::size_t capacity = 0;
};

std::string_view withoutLineEnd(std::string_view line)
{
    if (line.ends_with('\n'))
        line.remove_suffix(1);
    if (line.ends_with('\r')) // written on Windows
        line.remove_suffix(1);
    return line;
}

std::string fileName(const std::string &file)
{
    return file == "-" ? std::string(_("standard input")) : quotedText(file);
}

} // namespace

void Output::flushIfFull()
{
    if (m_text.size() >= BlockSize) {
        std::fwrite(m_text.data(), 1, m_text.size(), stdout);
        m_text.clear();
    }
}

bool Output::finish()
{
    std::fwrite(m_text.data(), 1, m_text.size(), stdout);
    m_text.clear();
    if (std::fflush(stdout) == 0 && !std::ferror(stdout))
        return true;
    complain(printed(_("cannot write the output: %s"), std::strerror(errno)));
    return false;
}

int convertLines(const std::string &file, const Conversion &conversion, Output &output)
{
    const File input(file == "-" ? stdin : std::fopen(file.c_str(), "r"));
    if (!input) {
        complain(printed(_("cannot read %s: %s"), fileName(file).c_str(), std::strerror(errno)));
        return EXIT_FAILURE;
    }
    bool allRead = true;
    LineBuffer line;
    unsigned long number = 0;
    for (ssize_t length; (length = getline(&line.text, &line.capacity, input.get())) >= 0;) {
        ++number;
        const std::string_view dateText = withoutLineEnd({line.text, std::size_t(length)});
        const std::size_t lineStart = output.text().size();
        try {
            conversion.write(output.text(), conversion.read(dateText));
        } catch (const calendar::DateError &error) {
            output.text().resize(lineStart);
            complain(printed(_("line %lu: %s"), number, dateProblem(dateText, error).c_str()));
            allRead = false;
        }
        output.text() += '\n';
        output.flushIfFull();
    }
    if (std::ferror(input.get())) {
        complain(printed(_("cannot read %s: %s"), fileName(file).c_str(), std::strerror(errno)));
        return EXIT_FAILURE;
    }
    return allRead ? EXIT_SUCCESS : EXIT_FAILURE;
}

} // namespace taqwim_date
