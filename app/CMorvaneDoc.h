#pragma once

#include <QString>

// The document: Morvane keeps no data in one, so new, open and save touch nothing.
class CMorvaneDoc
{
public:
    bool OnNewDocument() { return true; }
    // Takes the chosen file's name but reads nothing from it.
    bool OnOpenDocument(const QString&) { return true; }
    bool OnSaveDocument() { return true; }
};
