#pragma once

// Sets up the network library for the life of the program.
class NetworkLibrary
{
public:
    NetworkLibrary();
    ~NetworkLibrary();
    NetworkLibrary(const NetworkLibrary&) = delete;
    NetworkLibrary& operator=(const NetworkLibrary&) = delete;

    bool isReady() const { return m_ready; }

private:
    bool m_ready;
};
