#include "local_http_server.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdlib>

namespace {
constexpr int kBacklog = 8;
constexpr int kPollMs = 20; // how quickly the thread notices a stop

void SendAll(int client, const std::string& data)
{
    size_t sent = 0;
    while (sent < data.size()) {
        const ssize_t written = send(client, data.data() + sent, data.size() - sent, MSG_NOSIGNAL);
        if (written <= 0)
            return;
        sent += static_cast<size_t>(written);
    }
}
} // namespace

LocalHttpServer::LocalHttpServer()
{
    // A proxy from the environment could not reach this server.
    setenv("no_proxy", "127.0.0.1", 1);
    setenv("NO_PROXY", "127.0.0.1", 1);

    m_listener = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0; // any free port
    socklen_t length = sizeof address;
    if (m_listener < 0 || bind(m_listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
        listen(m_listener, kBacklog) != 0 ||
        getsockname(m_listener, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        return;
    m_port = ntohs(address.sin_port);
    m_thread = std::thread([this] { Run(); });
}

LocalHttpServer::~LocalHttpServer()
{
    m_stopping = true;
    if (m_thread.joinable())
        m_thread.join();
    for (int client : m_heldClients)
        close(client);
    if (m_listener >= 0)
        close(m_listener);
}

std::string LocalHttpServer::Url(const std::string& path) const
{
    return "http://127.0.0.1:" + std::to_string(m_port) + path;
}

void LocalHttpServer::Serve(int status, const std::string& body, bool sendLength)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_status = status;
    m_body = body;
    m_sendLength = sendLength;
    m_silent = false;
}

void LocalHttpServer::NeverAnswer()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_silent = true;
}

void LocalHttpServer::Run()
{
    while (!m_stopping) {
        pollfd waiting{m_listener, POLLIN, 0};
        if (poll(&waiting, 1, kPollMs) <= 0)
            continue;
        const int client = accept(m_listener, nullptr, nullptr);
        if (client < 0)
            continue;
        ++m_requests;
        bool silent;
        std::string response;
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            silent = m_silent;
            response = "HTTP/1.1 " + std::to_string(m_status) +
                       " Test\r\nContent-Type: text/xml\r\nConnection: close\r\n";
            if (m_sendLength)
                response += "Content-Length: " + std::to_string(m_body.size()) + "\r\n";
            response += "\r\n" + m_body;
        }
        if (silent) {
            m_heldClients.push_back(client);
            continue;
        }
        ReadRequestHead(client);
        SendAll(client, response);
        close(client);
    }
}

void LocalHttpServer::ReadRequestHead(int client)
{
    std::string head;
    char buffer[1024];
    while (head.find("\r\n\r\n") == std::string::npos && !m_stopping) {
        pollfd readable{client, POLLIN, 0};
        if (poll(&readable, 1, kPollMs) <= 0)
            continue;
        const ssize_t got = recv(client, buffer, sizeof buffer, 0);
        if (got <= 0)
            return;
        head.append(buffer, static_cast<size_t>(got));
    }
}
