#pragma once

#include "view/StatusText.h"

#include <QStringList>

// Stands in for the main window's message bar around a bare view; keeps every text written.
class RecordedStatus : public StatusText
{
public:
    void SetMessageText(const QString& text) override { texts << text; }

    QStringList texts;
};
