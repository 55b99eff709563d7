#pragma once

#include <QString>

namespace design {

// A left-to-right run (a Latin name, a path, a library's own English words) kept apart from
// the right-to-left sentence around it: without the isolate its neutral characters join the
// Arabic, so that "C++" is drawn "++C" and a path's leading slash moves to its end. The
// sentence's own punctuation goes outside the run.
inline QString leftToRight(const QString &run)
{
    return QChar(0x2066) + run + QChar(0x2069);
}

} // namespace design
