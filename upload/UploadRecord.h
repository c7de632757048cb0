#pragma once

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>

#include <optional>

// What Morvane uploaded to one server as one user: per remote folder, the name, size and
// SHA-256 of each file it stored there. It tells which files the server already has as they
// are, and which files are Morvane's own to remove. A record that is missing, unreadable or
// damaged is empty: every file is then sent again, and nothing is removed.
class UploadRecord
{
public:
    struct Entry
    {
        qint64 size = 0;
        QByteArray sha256; // raw bytes
        bool operator==(const Entry&) const = default;
    };

    // The record of the server, port and user, kept in folder (the user's data folder in
    // the program, a temporary one in tests). Port 0 stands for the protocol's own port.
    static UploadRecord load(const QString& folder, const QString& server, int port,
                             const QString& userName);

    std::optional<Entry> entry(const QString& remoteDir, const QString& name) const;
    // The names recorded in a folder, sorted.
    QStringList names(const QString& remoteDir) const;
    void set(const QString& remoteDir, const QString& name, const Entry& entry);
    void forget(const QString& remoteDir, const QString& name);

    // Written whole beside the old record and renamed over it, so a crash leaves the old one.
    // False when it could not be written.
    bool save();
    bool changed() const { return m_changed; }
    QString path() const { return m_path; }

private:
    QString m_path;
    QString m_server;
    int m_port = 0;
    QString m_userName;
    // Remote folder, as the server names it from the top, to its files.
    QHash<QString, QHash<QString, Entry>> m_folders;
    bool m_changed = false;
};
