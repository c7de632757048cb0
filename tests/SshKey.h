#pragma once

#include <QString>

// SSH keys for the test servers and their clients, made by ssh-keygen.
namespace SshKey {

// Writes a new key without passphrase to privateFile and its public half beside it (.pub).
bool generate(const QString& privateFile, const QString& type = QStringLiteral("ed25519"));

// The SHA-256 of the key in a .pub file, lowercase hex with colons.
QString fingerprint(const QString& publicFile);

} // namespace SshKey
