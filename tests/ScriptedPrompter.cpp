#include "ScriptedPrompter.h"

Answer ScriptedPrompter::message(const QString& text, MessageStyle style)
{
    messages << text;
    messageStyles << style;
    if (whileShowingMessage)
        whileShowingMessage(text);
    if (style != MessageStyle::YesNoQuestion)
        return Answer::Ok;
    return answers.isEmpty() ? Answer::No : answers.takeFirst();
}

QStringList ScriptedPrompter::openJpegFiles(const QString& startFolder)
{
    lastStartFolder = startFolder;
    if (whileChoosingFiles)
        whileChoosingFiles();
    return std::exchange(nextFiles, {});
}

QString ScriptedPrompter::openDocumentFile()
{
    return nextDocument;
}

std::optional<int> ScriptedPrompter::chooseGroup(const QStringList& groupNames)
{
    ++groupDialogs;
    lastGroupNames = groupNames;
    return nextGroup;
}

std::optional<QString> ScriptedPrompter::chooseFolder(const QString& caption,
                                                      const QString& instruction,
                                                      const QString& initialFolder)
{
    folderDialogs << QStringList{caption, instruction, initialFolder};
    return nextFolder;
}
