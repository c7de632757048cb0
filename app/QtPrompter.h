#pragma once

#include "dialogkit/Prompter.h"

// Shows the real dialogs, owned by the window that is active at the time.
class QtPrompter : public Prompter
{
public:
    Answer message(const QString& text, MessageStyle style) override;
    QStringList openJpegFiles(const QString& startFolder) override;
    QString openDocumentFile() override;
    std::optional<int> chooseGroup(const QStringList& groupNames) override;
    std::optional<QString> chooseFolder(const QString& caption, const QString& instruction,
                                        const QString& initialFolder) override;
};
