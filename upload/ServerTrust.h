#pragma once

struct ServerKey;

// Decides about a server key that is not trusted yet. The window asks the user; the
// command-line tool never trusts on its own.
class ServerTrust
{
public:
    virtual ~ServerTrust() = default;

    // True to trust the key from now on; the implementation keeps its fingerprint.
    virtual bool trustServer(const ServerKey& key) = 0;
};
