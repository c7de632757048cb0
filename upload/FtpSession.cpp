#include "upload/FtpSession.h"

#include "upload/FtpConnection.h"

std::unique_ptr<FtpConnection> FtpSession::GetFtpConnection(const QString& server,
                                                            const QString& userName,
                                                            const QString& password, quint16 port,
                                                            bool passive)
{
    if (m_closed)
        return nullptr;
    return FtpConnection::open(FtpConnection::Login{server, userName, password, port, passive},
                               m_timeouts);
}
