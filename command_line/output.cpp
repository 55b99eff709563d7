#include "output.h"

#include "program.h"

#include <langinfo.h>
#include <stdio_ext.h>

#include <algorithm>
#include <array>
#include <cerrno>
#include <cstring>

namespace command_line {
namespace {

constexpr std::size_t BlockSize = 1 << 16;

bool localeIsUtf8()
{
    const std::string_view set = ::nl_langinfo(CODESET);
    return set == "UTF-8" || set == "utf8";
}

} // namespace

void bufferStandardOutput()
{
    // glibc sizes a buffer it allocates itself by the file, not by what setvbuf() asks for.
    static std::array<char, BlockSize> block;
    std::setvbuf(stdout, block.data(), _IOFBF, block.size());
    // One thread writes it: stdio need not lock it for every line.
    __fsetlocking(stdout, FSETLOCKING_BYCALLER);
}

Output::Output(std::FILE *stream) : m_stream(stream), m_toldCharacterSet(localeIsUtf8()) { }

void Output::write(std::string_view text)
{
    if (!m_toldCharacterSet && std::ranges::any_of(text, [](char c) {
            return static_cast<unsigned char>(c) >= 0x80;
        })) {
        complain(formatted(_("the output is in UTF-8, which the locale's character set %s is not"),
                           ::nl_langinfo(CODESET)));
        m_toldCharacterSet = true;
    }
    if (!m_failed && std::fwrite(text.data(), 1, text.size(), m_stream) != text.size())
        fail();
}

bool Output::flush()
{
    if (!m_failed && std::fflush(m_stream) != 0)
        fail();
    return !m_failed;
}

void Output::fail()
{
    complain(formatted(_("cannot write the output: %s"), std::strerror(errno)));
    m_failed = true;
}

} // namespace command_line
