#include "child_process.h"

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <fstream>
#include <map>
#include <string>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <thread>
#include <unistd.h>

extern char** environ;

namespace {
constexpr auto kPollInterval = std::chrono::milliseconds(20);

std::vector<std::string> MergedEnvironment(const std::vector<std::string>& extra)
{
    std::map<std::string, std::string> variables;
    auto add = [&variables](const std::string& entry) {
        const size_t equals = entry.find('=');
        if (equals != std::string::npos)
            variables[entry.substr(0, equals)] = entry;
    };
    for (char** entry = environ; *entry; ++entry)
        add(*entry);
    for (const std::string& entry : extra)
        add(entry);
    std::vector<std::string> merged;
    for (const auto& variable : variables)
        merged.push_back(variable.second);
    return merged;
}

// What a shell runs for `name`: itself when it holds a "/", else the first
// executable of that name in the PATH given to the program.
std::string ResolveProgram(const std::string& name, const std::vector<std::string>& environment)
{
    if (name.find('/') != std::string::npos)
        return name;
    std::string path;
    for (const std::string& entry : environment)
        if (entry.rfind("PATH=", 0) == 0)
            path = entry.substr(5);
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find(':', start);
        if (end == std::string::npos)
            end = path.size();
        const std::string candidate = path.substr(start, end - start) + "/" + name;
        if (access(candidate.c_str(), X_OK) == 0)
            return candidate;
        start = end + 1;
    }
    return name;
}

std::vector<char*> Pointers(std::vector<std::string>& strings)
{
    std::vector<char*> pointers;
    for (std::string& text : strings)
        pointers.push_back(text.data());
    pointers.push_back(nullptr);
    return pointers;
}
} // namespace

ChildProcess::~ChildProcess()
{
    Kill();
}

bool ChildProcess::Start(const std::vector<std::string>& argv, const std::vector<std::string>& environment,
                         const std::string& outputPath)
{
    std::vector<std::string> arguments = argv;
    std::vector<std::string> variables = MergedEnvironment(environment);
    const std::string program = ResolveProgram(argv.at(0), variables);
    std::vector<char*> argumentPointers = Pointers(arguments);
    std::vector<char*> variablePointers = Pointers(variables);
    const int output = open(outputPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (output < 0)
        return false;

    m_pid = fork();
    if (m_pid == 0) {
        dup2(output, STDOUT_FILENO);
        dup2(output, STDERR_FILENO);
        execve(program.c_str(), argumentPointers.data(), variablePointers.data());
        _exit(127);
    }
    close(output);
    m_running = m_pid > 0;
    return m_running;
}

bool ChildProcess::WaitForExit(int timeoutMs)
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (m_running) {
        if (waitpid(m_pid, &m_status, WNOHANG) == m_pid) {
            m_running = false;
            break;
        }
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        std::this_thread::sleep_for(kPollInterval);
    }
    return true;
}

namespace {
// True while the main thread waits in its event loop. Xlib waiting for one
// reply from the X server also sits in poll, but on its connection alone; a
// signal landing there finds the display locked, so only a poll on several
// descriptors (the connection and the loop's wake-up pipe) counts.
bool MainThreadInPoll(pid_t pid)
{
    std::ifstream syscallFile("/proc/" + std::to_string(pid) + "/syscall");
    long number = -1;
    std::string fds;
    std::string fdCount;
    if (!(syscallFile >> number >> fds >> fdCount))
        return false;
    bool inPoll = number == SYS_ppoll;
#ifdef SYS_poll
    inPoll = inPoll || number == SYS_poll;
#endif
    return inPoll && std::stoul(fdCount, nullptr, 16) >= 2;
}
} // namespace

bool ChildProcess::WaitUntilIdle(int timeoutMs) const
{
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int idleLooks = 0;
    while (m_running && std::chrono::steady_clock::now() < deadline) {
        idleLooks = MainThreadInPoll(m_pid) ? idleLooks + 1 : 0;
        if (idleLooks == 3)
            return true;
        std::this_thread::sleep_for(kPollInterval * 5);
    }
    return false;
}

void ChildProcess::Signal(int signal) const
{
    if (m_running)
        kill(m_pid, signal);
}

void ChildProcess::Kill()
{
    if (!m_running)
        return;
    kill(m_pid, SIGKILL);
    waitpid(m_pid, &m_status, 0);
    m_running = false;
}

bool ChildProcess::Exited() const
{
    return !m_running && WIFEXITED(m_status);
}

int ChildProcess::ExitCode() const
{
    return Exited() ? WEXITSTATUS(m_status) : -1;
}

int ChildProcess::TermSignal() const
{
    return !m_running && WIFSIGNALED(m_status) ? WTERMSIG(m_status) : 0;
}
