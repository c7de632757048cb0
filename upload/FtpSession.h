#pragma once

#include "upload/FtpTimeouts.h"

#include <QString>

#include <memory>

class FtpConnection;

// Opens FTP connections with the program's time-outs. The connections it makes live on
// their own: they may outlive it and be released in either order.
class FtpSession
{
public:
    // Logs in to server:port (0 means 21) in passive or active mode; null when the server
    // cannot be reached, refuses the login, or the session is closed. User name and
    // password are sent as they are, empty ones included.
    std::unique_ptr<FtpConnection> GetFtpConnection(const QString& server, const QString& userName,
                                                    const QString& password, quint16 port,
                                                    bool passive);
    // After closing, the session opens no more connections; those it made stay open.
    void Close() { m_closed = true; }

private:
    FtpTimeouts m_timeouts;
    bool m_closed = false;
};
