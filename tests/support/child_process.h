#pragma once

#include <string>
#include <sys/types.h>
#include <vector>

// A program run as a separate process, for what cannot happen inside the test
// program: a start-up that fails, a fatal signal. Killed if still running when
// the object goes.
class ChildProcess {
public:
    ChildProcess() = default;
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // Runs `argv` (argv[0] searched in the PATH of the merged environment
    // when it has no "/", as a shell does) with `environment` added to this process's own; standard output
    // and error both go to the file `outputPath`.
    bool Start(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
               const std::string& outputPath);
    // True when the process ended within the time.
    bool WaitForExit(int timeoutMs);
    // True once the process's main thread sits in poll(), where an idle
    // event loop waits, for two looks in a row.
    bool WaitUntilIdle(int timeoutMs) const;
    void Signal(int signal) const;
    void Kill();

    pid_t Pid() const { return m_pid; }
    bool Exited() const; // ended normally (not by a signal)
    int ExitCode() const;
    int TermSignal() const; // 0 unless ended by a signal

private:
    pid_t m_pid = -1;
    bool m_running = false;
    int m_status = 0;
};
