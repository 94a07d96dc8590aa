#pragma once

#include <QtGlobal>

#include <csignal>
#include <sys/resource.h>

// While it lives, a write that would take a file beyond the given size fails, as it would
// on a full disk.
class FileSizeLimit
{
    Q_DISABLE_COPY_MOVE(FileSizeLimit)

public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        // The error, not the signal that would end the program.
        std::signal(SIGXFSZ, SIG_IGN);
        getrlimit(RLIMIT_FSIZE, &m_old);
        rlimit small = m_old;
        small.rlim_cur = bytes;
        setrlimit(RLIMIT_FSIZE, &small);
    }
    ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &m_old); }

private:
    rlimit m_old{};
};
