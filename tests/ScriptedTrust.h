#pragma once

#include "upload/ServerKey.h"
#include "upload/ServerTrust.h"

#include <QList>

// Answers whether to trust a server key from a script and records every key it was shown.
class ScriptedTrust : public ServerTrust
{
public:
    bool trustServer(const ServerKey& key) override
    {
        shown << key;
        return answer;
    }

    bool answer = false;
    QList<ServerKey> shown;
};
