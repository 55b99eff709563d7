#include "batch.h"

#include "command_line/program.h"

#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <array>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <system_error>

namespace taqwim_date {
namespace {

using command_line::complain;
using command_line::formatted;

constexpr std::size_t BlockSize = 1 << 16;

class InputFile
{
public:
    explicit InputFile(const std::string &name)
        : m_fd(name == "-" ? STDIN_FILENO : ::open(name.c_str(), O_RDONLY | O_CLOEXEC))
    {
    }
    ~InputFile()
    {
        if (m_fd > STDIN_FILENO)
            ::close(m_fd);
    }
    InputFile(const InputFile &) = delete;
    InputFile &operator=(const InputFile &) = delete;

    int fd() const { return m_fd; }

private:
    int m_fd;
};

bool hasInputWaiting(int fd)
{
    pollfd input{.fd = fd, .events = POLLIN, .revents = 0};
    return ::poll(&input, 1, 0) != 0; // a file is always ready; an error is told by read()
}

// Lines read a block at a time. Before a read that would wait for the input (a terminal,
// a pipe whose writer has nothing more yet), beforeWaiting() runs. stdio cannot say when its
// next read would wait, since what its buffer holds is its own: asking the input before every
// line instead makes a column of a million dates six times slower.
class LineReader
{
public:
    explicit LineReader(int fd) : m_fd(fd) { }

    // The next line with its line end, or nothing at the end of the input. Throws
    // std::system_error when the input cannot be read.
    template<typename BeforeWaiting>
    std::optional<std::string_view> next(BeforeWaiting beforeWaiting)
    {
        for (;;) {
            const std::size_t end = m_buffer.find('\n', m_start);
            if (end != std::string::npos) {
                const std::string_view line(m_buffer.data() + m_start, end + 1 - m_start);
                m_start = end + 1;
                return line;
            }
            if (m_ended) {
                if (m_start == m_buffer.size())
                    return std::nullopt;
                const std::string_view last(m_buffer.data() + m_start, m_buffer.size() - m_start);
                m_start = m_buffer.size();
                return last; // without a line end
            }
            if (!hasInputWaiting(m_fd))
                beforeWaiting();
            readMore();
        }
    }

private:
    void readMore()
    {
        m_buffer.erase(0, m_start);
        m_start = 0;
        const std::size_t kept = m_buffer.size();
        m_buffer.resize(kept + BlockSize);
        ssize_t length;
        do
            length = ::read(m_fd, m_buffer.data() + kept, BlockSize);
        while (length < 0 && errno == EINTR);
        m_buffer.resize(kept + std::size_t(std::max<ssize_t>(length, 0)));
        if (length < 0)
            throw std::system_error(errno, std::generic_category());
        m_ended = length == 0;
    }

    int m_fd;
    std::string m_buffer;
    std::size_t m_start = 0;
    bool m_ended = false;
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
    return file == "-" ? std::string(_("standard input")) : command_line::quotedText(file);
}

int cannotRead(const std::string &file, int error)
{
    complain(formatted(_("cannot read %s: %s"), fileName(file).c_str(), std::strerror(error)));
    return EXIT_FAILURE;
}

} // namespace

int convertLines(const std::string &file, const Conversion &conversion,
                 command_line::Output &output)
{
    const InputFile input(file);
    if (input.fd() < 0)
        return cannotRead(file, errno);
    bool allRead = true;
    LineReader lines(input.fd());
    unsigned long number = 0;
    std::string answer;
    try {
        for (std::optional<std::string_view> line;
             !output.failed() && (line = lines.next([&] { output.flush(); }));) {
            ++number;
            const std::string_view dateText = withoutLineEnd(*line);
            answer.clear();
            try {
                conversion.write(answer, conversion.read(dateText));
            } catch (const command_line::DateTextError &error) {
                output.flush(); // the answers before it come first
                complain(formatted(_("line %lu: %s"), number,
                                   conversion.problem(dateText, error).c_str()));
                allRead = false;
            }
            answer += '\n';
            output.write(answer);
        }
    } catch (const std::system_error &error) {
        output.flush();
        return cannotRead(file, error.code().value());
    }
    return allRead && !output.failed() ? EXIT_SUCCESS : EXIT_FAILURE;
}

} // namespace taqwim_date
