#pragma once

#include "dialogkit/Prompter.h"

#include <QList>
#include <QStringList>

#include <functional>
#include <optional>

// Answers the program's modal steps from a script and records every message shown.
class ScriptedPrompter : public Prompter
{
public:
    Answer message(const QString& text, MessageStyle style) override;
    QStringList openJpegFiles(const QString& startFolder) override;
    QString openDocumentFile() override;
    std::optional<int> chooseGroup(const QStringList& groupNames) override;
    std::optional<QString> chooseFolder(const QString& caption, const QString& instruction,
                                        const QString& initialFolder) override;

    QStringList messages;
    QList<MessageStyle> messageStyles;
    QList<Answer> answers; // answers to questions, in order; No when the script runs out
    std::function<void(const QString&)> whileShowingMessage; // runs while a box would be open

    QStringList nextFiles;
    std::function<void()> whileChoosingFiles; // runs while the file dialog would be open
    QString lastStartFolder;
    QString nextDocument;
    std::optional<int> nextGroup;
    int groupDialogs = 0;
    QStringList lastGroupNames; // as the last "Select Group" was given them

    // The arguments of every folder chooser shown, as {caption, instruction, initialFolder}.
    QList<QStringList> folderDialogs;
    std::optional<QString> nextFolder;
};
