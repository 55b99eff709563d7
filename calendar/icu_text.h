#pragma once

#include <unicode/unistr.h>

#include <string>

namespace calendar::detail {

// ICU's UTF-16 text as the UTF-8 the programs print.
inline std::string utf8(const icu::UnicodeString &text)
{
    std::string out;
    text.toUTF8String(out);
    return out;
}

} // namespace calendar::detail
