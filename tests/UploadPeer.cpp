#include "UploadPeer.h"

#include "SshKey.h"

#include <QDir>

namespace {

struct MadeCertificates
{
    TestCertificates certificates;
    bool made = certificates.make();
};

MadeCertificates& madeCertificates()
{
    static MadeCertificates made;
    return made;
}

} // namespace

UploadPeer::UploadPeer() : m_oldHome(qgetenv("HOME")) {}

UploadPeer::~UploadPeer()
{
    qputenv("HOME", m_oldHome);
}

const char* UploadPeer::name(Kind kind)
{
    switch (kind) {
    case Kind::Ftp:
        return "FTP";
    case Kind::FtpTls:
        return "FTP over TLS";
    case Kind::Sftp:
        return "SFTP";
    case Kind::SshKey:
        return "SFTP with a key";
    }
    return "";
}

QString UploadPeer::unavailableReason(Kind kind)
{
    switch (kind) {
    case Kind::Ftp:
        return FtpServer::unavailableReason();
    case Kind::FtpTls:
        return FtpServer::tlsUnavailableReason();
    case Kind::Sftp:
        return SftpServer::unavailableReason();
    case Kind::SshKey:
        return SshServer::unavailableReason();
    }
    return {};
}

bool UploadPeer::required(Kind kind)
{
    switch (kind) {
    case Kind::Ftp:
        return MORVANE_FTP_SERVER_REQUIRED;
    case Kind::FtpTls:
        return MORVANE_TLS_SERVER_REQUIRED;
    case Kind::Sftp:
        return MORVANE_SFTP_SERVER_REQUIRED;
    case Kind::SshKey:
        return MORVANE_SSH_SERVER_REQUIRED;
    }
    return false;
}

bool UploadPeer::start(Kind kind, const QStringList& directories, Certificate certificate)
{
    m_kind = kind;
    switch (kind) {
    case Kind::Ftp:
        m_ftp = std::make_unique<FtpServer>();
        return m_ftp->start(FtpServer::Account(), directories);
    case Kind::FtpTls: {
        FtpServer::Behaviour tls;
        if (!madeCertificates().made)
            return false;
        const TestCertificates& made = certificates();
        m_certificateFile = certificate == Certificate::Server      ? made.server()
                            : certificate == Certificate::OtherName ? made.otherName()
                                                                    : made.selfSigned();
        tls.tlsCertificate = m_certificateFile;
        tls.tlsRequired = true;
        m_ftp = std::make_unique<FtpServer>();
        return m_ftp->start(FtpServer::Account(), directories, tls);
    }
    case Kind::Sftp:
        m_sftp = std::make_unique<SftpServer>();
        return m_sftp->start(SftpServer::Account(), directories);
    case Kind::SshKey: {
        const QString key = m_clientHome.filePath(".ssh/id_ed25519");
        m_ssh = std::make_unique<SshServer>();
        if (!QDir(m_clientHome.path()).mkpath(".ssh") || !SshKey::generate(key) ||
            !m_ssh->start(key + ".pub", directories))
            return false;
        qputenv("HOME", QFile::encodeName(m_clientHome.path()));
        return true;
    }
    }
    return false;
}

FtpSettings UploadPeer::settings() const
{
    FtpSettings settings;
    settings.Server = QStringLiteral("127.0.0.1");
    settings.Passive = 1;
    switch (m_kind) {
    case Kind::Ftp:
    case Kind::FtpTls:
        settings = m_ftp->settings();
        settings.Security = m_kind == Kind::Ftp ? 0 : 2;
        break;
    case Kind::Sftp:
        settings.Port = m_sftp->port();
        settings.UserName = SftpServer::Account().userName;
        settings.Password = SftpServer::Account().password;
        settings.Security = 3;
        settings.TrustedFingerprint = m_sftp->hostKeyFingerprint();
        break;
    case Kind::SshKey:
        settings.Port = m_ssh->port();
        settings.UserName = m_ssh->userName();
        settings.Security = 3;
        settings.TrustedFingerprint = m_ssh->hostKeyFingerprint();
        break;
    }
    return settings;
}

FtpOptions UploadPeer::options() const
{
    FtpOptions options;
    if (m_kind == Kind::FtpTls)
        options.caFile = certificates().authority();
    return options;
}

QString UploadPeer::remotePath(const QString& relative) const
{
    // The FTP and SFTP test servers serve their home as the top; sshd serves the machine.
    return m_kind == Kind::SshKey ? homePath(relative) : '/' + relative;
}

QString UploadPeer::homePath(const QString& relative) const
{
    if (m_ftp)
        return m_ftp->homePath(relative);
    if (m_sftp)
        return m_sftp->homePath(relative);
    return m_ssh ? m_ssh->homePath(relative) : QString();
}

QString UploadPeer::serverLog() const
{
    if (m_ftp)
        return m_ftp->commandLog();
    return m_sftp ? m_sftp->log() : QString();
}

bool UploadPeer::sawLogin() const
{
    if (m_ftp)
        return m_ftp->commandLog().contains(QStringLiteral("<- USER"));
    if (m_sftp)
        return m_sftp->log().contains(QStringLiteral("Beginning auth"));
    return m_ssh && m_ssh->sawLogin();
}

QString UploadPeer::keyFingerprint() const
{
    if (m_ftp)
        return TestCertificates::fingerprint(m_certificateFile);
    if (m_sftp)
        return m_sftp->hostKeyFingerprint();
    return m_ssh ? m_ssh->hostKeyFingerprint() : QString();
}

const TestCertificates& UploadPeer::certificates()
{
    return madeCertificates().certificates;
}
