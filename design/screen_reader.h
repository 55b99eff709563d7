#pragma once

#include <QWidget>

// What a screen reader needs beyond what Qt tells it of these windows.
namespace design {

// Qt shows a window made from a plain QWidget to screen readers as a "filler", which they do
// not announce as a window. From this call on, every window of the program's own classes is
// a frame, or a dialog if it is one, named by its title. Call it before the first window is
// made: Qt keeps what it first told a screen reader of a widget.
void letScreenReadersKnowTheWindows();

// Words for a screen reader to speak while the focus stays where it is: an announcement
// where Qt has them (6.8 on), and before that a notification, which screen readers speak when
// it appears, as a desktop's notice of a finished task is spoken; this one is never seen on
// the screen.
class SpokenNotice : public QWidget
{
    Q_OBJECT

public:
    explicit SpokenNotice(QWidget *parent);

    void say(const QString &words);
};

} // namespace design
