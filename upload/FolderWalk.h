#pragma once

#include <QString>

class FtpConnection;

// Where one remote folder of an upload was found.
struct FolderVisit
{
    enum class Outcome
    {
        Entered,   // it exists, and the connection is in it
        Made,      // it was missing and is made now, and the connection is in it
        WouldMake, // it is missing; an upload would make it (only when not making)
        Failed,    // it could not be entered or made
    };

    Outcome outcome = Outcome::Failed;
    QString path; // from the top: where the folder is, or would be

    bool reached() const { return outcome == Outcome::Entered || outcome == Outcome::Made; }
};

// Goes through the remote folders of an upload in their order, as the upload does: the first
// is entered from the login directory, and before each next one the connection goes up one
// level ("..//") from where the one before left it, unless that one was never entered. A
// missing folder is made with its missing parents as the upload reaches it; a walk that only
// looks makes nothing and goes on from where the upload would stand.
class FolderWalk
{
public:
    FolderWalk(FtpConnection& connection, bool make) : m_connection(connection), m_make(make) {}

    // remoteDir as typed in the settings.
    FolderVisit enter(const QString& remoteDir);

private:
    FtpConnection& m_connection;
    const bool m_make;
    bool m_lastEntered = false;
    // Where an upload would stand after a folder that is only to be made; empty when the
    // connection stands where the upload would.
    QString m_wouldStand;
};
