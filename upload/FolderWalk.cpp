#include "upload/FolderWalk.h"

#include "upload/FtpConnection.h"
#include "upload/RemotePath.h"

FolderVisit FolderWalk::enter(const QString& remoteDir)
{
    if (m_lastEntered) {
        if (m_wouldStand.isEmpty()) {
            // Up one level, so a folder beside the last one is found.
            m_connection.SetCurrentDirectory(QStringLiteral("..//"));
        } else {
            // Above a folder still to be made there may well be one that exists.
            const QString up = RemotePath::resolve(m_wouldStand, QStringLiteral(".."));
            m_wouldStand = m_connection.SetCurrentDirectory(up) ? QString() : up;
        }
    }

    const bool standsThere = m_wouldStand.isEmpty();
    const QString from = standsThere ? m_connection.CurrentDirectory() : m_wouldStand;
    const QString target = RemotePath::resolve(from, remoteDir);
    // From a folder that only would be there, the way goes by its name from the top.
    if (m_connection.SetCurrentDirectory(standsThere ? remoteDir : target)) {
        m_lastEntered = true;
        m_wouldStand.clear();
        return {FolderVisit::Outcome::Entered, m_connection.CurrentDirectory()};
    }
    if (!m_make) {
        m_lastEntered = true;
        m_wouldStand = target;
        return {FolderVisit::Outcome::WouldMake, target};
    }
    if (standsThere) {
        // Whether making went through in full, entering it tells.
        m_connection.CreateDirectory(remoteDir);
        if (m_connection.SetCurrentDirectory(remoteDir)) {
            m_lastEntered = true;
            return {FolderVisit::Outcome::Made, m_connection.CurrentDirectory()};
        }
    }
    m_lastEntered = false;
    return {FolderVisit::Outcome::Failed, target};
}
