#pragma once

#include <QThread>

// Blocking waits. The program freezes while one lasts, as the office's old
// program did; tests record the waits instead of sleeping.
class Waiter
{
public:
    virtual ~Waiter() = default;
    virtual void waitSeconds(int seconds) = 0;
};

class SleepingWaiter : public Waiter
{
public:
    void waitSeconds(int seconds) override
    {
        if (seconds > 0)
            QThread::sleep(static_cast<unsigned long>(seconds));
    }
};
