#pragma once

#include <atomic>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

// A small HTTP server on 127.0.0.1 for tests of code that downloads: it
// answers every request with the status and body given last, or accepts
// connections and never answers. Runs on its own thread until destroyed.
class LocalHttpServer {
public:
    LocalHttpServer();
    ~LocalHttpServer();
    LocalHttpServer(const LocalHttpServer&) = delete;
    LocalHttpServer& operator=(const LocalHttpServer&) = delete;

    bool IsRunning() const { return m_port != 0; }

    // "http://127.0.0.1:<port>" followed by `path`.
    std::string Url(const std::string& path) const;

    // Without a length the body simply ends when the connection closes.
    void Serve(int status, const std::string& body, bool sendLength = true);

    // Connections are accepted and held open without a byte of answer.
    void NeverAnswer();

    int RequestCount() const { return m_requests; }

private:
    void Run();
    void ReadRequestHead(int client);

    int m_listener = -1;
    int m_port = 0;
    std::thread m_thread;
    std::atomic<bool> m_stopping{false};
    std::atomic<int> m_requests{0};
    std::mutex m_mutex;
    int m_status = 200;
    std::string m_body;
    bool m_sendLength = true;
    bool m_silent = false;
    std::vector<int> m_heldClients; // the server thread's until it is joined
};
