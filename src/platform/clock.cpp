#include "clock.h"

namespace platform {

namespace {
QDateTime& fixado()
{
    static QDateTime momento;
    return momento;
}
} // namespace

QDateTime Clock::agora()
{
    return fixado().isValid() ? fixado() : QDateTime::currentDateTime();
}

void Clock::fixa(const QDateTime& momento)
{
    fixado() = momento;
}

} // namespace platform
