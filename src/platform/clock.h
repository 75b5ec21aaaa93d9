#pragma once

#include <QDateTime>

namespace platform {

// Every "today" of the program (registration dates, the sheet header, the error log) comes from here, so that
// tests can pin the date.
class Clock
{
public:
    static QDateTime agora();
    static QDate hoje() { return agora().date(); }
    // Pins the clock to a fixed moment; an invalid QDateTime returns it to the system time.
    static void fixa(const QDateTime& momento);
};

} // namespace platform
