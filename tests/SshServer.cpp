#include "SshServer.h"

#include "SshKey.h"

#include <QDeadlineTimer>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QStandardPaths>

#include <netinet/in.h>
#include <pwd.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {

const QString sshd = QStringLiteral("/usr/sbin/sshd");
// Who a root test hands the server to: sshd refuses to run as root without the system's
// own set-up, and an unprivileged sshd logs in only itself.
constexpr uid_t serverUid = 65534;

// A port no one listens on now. sshd cannot pick a port and tell it, so one is picked here.
quint16 freePort()
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    quint16 port = 0;
    if (fd >= 0 && bind(fd, reinterpret_cast<sockaddr*>(&address), length) == 0 &&
        getsockname(fd, reinterpret_cast<sockaddr*>(&address), &length) == 0)
        port = ntohs(address.sin_port);
    if (fd >= 0)
        close(fd);
    return port;
}

QString userNameOf(uid_t uid)
{
    const passwd* entry = getpwuid(uid);
    return entry ? QString::fromLocal8Bit(entry->pw_name) : QString();
}

} // namespace

SshServer::~SshServer()
{
    if (m_process.state() != QProcess::NotRunning) {
        m_process.kill();
        m_process.waitForFinished(5000);
    }
}

QString SshServer::unavailableReason()
{
    if (!QFile::exists(sshd))
        return QStringLiteral("sshd (openssh-server) is not installed");
    if (QStandardPaths::findExecutable(QStringLiteral("ssh-keygen")).isEmpty())
        return QStringLiteral("ssh-keygen (openssh-client) is not installed");
    if (geteuid() == 0 && QStandardPaths::findExecutable(QStringLiteral("setpriv")).isEmpty())
        return QStringLiteral("setpriv (util-linux) is not installed");
    return {};
}

bool SshServer::start(const QString& authorizedPublicKey, const QStringList& directories)
{
    for (const QString& directory : directories) {
        if (!QDir(homePath()).mkpath(directory))
            return false;
    }
    m_port = freePort();
    if (m_port == 0 || !SshKey::generate(m_dir.filePath("host_key")) ||
        !writeConfig(authorizedPublicKey, m_port))
        return false;
    // sshd runs itself again from an absolute path; -e keeps its log on standard error.
    QStringList command = {sshd, "-D", "-e", "-f", m_dir.filePath("sshd_config")};
    if (geteuid() == 0) {
        if (!handOverToServerUser())
            return false;
        const QString id = QString::number(serverUid);
        command = QStringList{"--reuid=" + id, "--regid=" + id, "--clear-groups"} + command;
        m_userName = userNameOf(serverUid);
        m_process.start(QStringLiteral("setpriv"), command);
    } else {
        m_userName = userNameOf(geteuid());
        m_process.start(command.takeFirst(), command);
    }
    m_process.setReadChannel(QProcess::StandardError);
    const QDeadlineTimer deadline(10000);
    while (!deadline.hasExpired() && m_process.state() != QProcess::NotRunning) {
        while (m_process.canReadLine()) {
            const QByteArray line = m_process.readLine();
            m_log += line;
            if (line.startsWith("Server listening on"))
                return !m_userName.isEmpty();
        }
        m_process.waitForReadyRead(100);
    }
    return false;
}

QString SshServer::homePath(const QString& relative) const
{
    const QString home = m_dir.filePath("home");
    return relative.isEmpty() ? home : home + '/' + relative;
}

QString SshServer::hostKeyFingerprint() const
{
    return SshKey::fingerprint(m_dir.filePath("host_key.pub"));
}

QString SshServer::log()
{
    m_process.waitForReadyRead(0);
    m_log += m_process.readAllStandardError();
    return QString::fromLocal8Bit(m_log);
}

bool SshServer::sawLogin()
{
    const QString text = log();
    return text.contains(QStringLiteral("Accepted ")) ||
           text.contains(QStringLiteral("authenticating user")) ||
           text.contains(QStringLiteral("Failed ")) || text.contains(QStringLiteral("nvalid user"));
}

bool SshServer::writeConfig(const QString& authorizedPublicKey, quint16 port)
{
    QFile::remove(m_dir.filePath("authorized_keys"));
    if (!QDir().mkpath(homePath()) ||
        !QFile::copy(authorizedPublicKey, m_dir.filePath("authorized_keys")))
        return false;
    QFile config(m_dir.filePath("sshd_config"));
    if (!config.open(QIODevice::WriteOnly))
        return false;
    // PAM decides whether the account may log in: sshd's own check takes an account
    // without a password, such as nobody, for a locked one.
    config.write(QStringLiteral("ListenAddress 127.0.0.1\n"
                                "Port %1\n"
                                "HostKey %2\n"
                                "PidFile %3\n"
                                "AuthorizedKeysFile %4\n"
                                "StrictModes no\n"
                                "UsePAM yes\n"
                                "PasswordAuthentication no\n"
                                "KbdInteractiveAuthentication no\n"
                                "PrintMotd no\n"
                                // libssh2 1.10 signs with RSA keys only by SHA-1, which
                                // OpenSSH no longer takes unless told to.
                                "PubkeyAcceptedAlgorithms +ssh-rsa\n"
                                "Subsystem sftp internal-sftp -d %5\n")
                     .arg(port)
                     .arg(m_dir.filePath("host_key"), m_dir.filePath("sshd.pid"),
                          m_dir.filePath("authorized_keys"), homePath())
                     .toLocal8Bit());
    return true;
}

bool SshServer::handOverToServerUser()
{
    bool handedOver = chown(QFile::encodeName(m_dir.path()).constData(), serverUid, serverUid) == 0;
    QDirIterator files(m_dir.path(), QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                       QDirIterator::Subdirectories);
    while (files.hasNext())
        handedOver &= chown(QFile::encodeName(files.next()).constData(), serverUid, serverUid) == 0;
    return handedOver;
}
