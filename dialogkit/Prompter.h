#pragma once

#include <QString>
#include <QStringList>

#include <optional>

// The kinds of message box the program shows.
enum class MessageStyle {
    Ok,            // OK only
    YesNoQuestion, // Yes and No, with a question icon
    Warning,       // OK, with a warning icon
};

enum class Answer { Ok, Yes, No };

// Every modal step that waits for the user: message boxes, file and folder choosers and the
// small selection dialogs. The program shows real dialogs; tests script the answers.
class Prompter
{
public:
    virtual ~Prompter() = default;

    virtual Answer message(const QString& text, MessageStyle style = MessageStyle::Ok) = 0;

    // Several existing JPEG files, full paths in the order chosen; empty when cancelled.
    virtual QStringList openJpegFiles(const QString& startFolder) = 0;

    // One file of any kind for the Open command; empty when cancelled.
    virtual QString openDocumentFile() = 0;

    // The index chosen in "Select Group" ("1" .. "5" are 0 .. 4, "None" is 5, -1 nothing),
    // or none when the dialog was cancelled. groupNames holds the names of groups 1 to 5 as
    // typed, shown beside their numbers.
    virtual std::optional<int> chooseGroup(const QStringList& groupNames) = 0;

    // A folder that exists, confirmed by the user (typed folders are created on request);
    // none when the chooser was cancelled.
    virtual std::optional<QString> chooseFolder(const QString& caption, const QString& instruction,
                                                const QString& initialFolder) = 0;
};
