#pragma once

#include <QString>

// Where the view writes its status texts ("Generating Images...", "Ready"): the main window's
// message bar, or whatever holds a view of its own.
class StatusText
{
public:
    virtual ~StatusText() = default;

    virtual void SetMessageText(const QString& text) = 0;
};
