#pragma once

// Holds Qt's messages while the application is being set up. A display that cannot be
// reached then ends the program with one clear line and status 1, instead of Qt's English
// advice to reinstall and an abort; when the set-up succeeds the messages held are passed on
// as they would have been.
class StartupMessages
{
public:
    StartupMessages();
    ~StartupMessages() { passOn(); }
    // Ends the holding: Qt's messages go where they went before.
    void passOn();
    StartupMessages(const StartupMessages &) = delete;
    StartupMessages &operator=(const StartupMessages &) = delete;

private:
    bool m_holding = true;
};
