#include "settings/gui/ConfirmFolder.h"

#include "dialogkit/Prompter.h"
#include "settings/FolderValidation.h"

#include <QCoreApplication>
#include <QFileInfo>

int ConfirmFolder(const QString& path, Prompter& prompter)
{
    int code = WalkFolderPath(path, true);
    if (code == 0) {
        if (QFileInfo::exists(path))
            return 0;
        const QString question =
            QCoreApplication::translate(
                "ConfirmFolder",
                "The folder:\n\n%1\n\ndoes not exist. Do you want the folder to be created?")
                .arg(path);
        if (prompter.message(question, MessageStyle::YesNoQuestion) != Answer::Yes)
            return -1;
        code = WalkFolderPath(path, false);
        if (code == 0)
            return 0;
    }
    const QString warning =
        code == 1
            ? QCoreApplication::translate("ConfirmFolder",
                                          "The folder:\n\n%1\n\nis invalid. Please reenter.")
            : QCoreApplication::translate(
                  "ConfirmFolder", "The folder:\n\n%1\n\ncan not be created. Please double check.");
    prompter.message(warning.arg(path), MessageStyle::Warning);
    return code;
}
