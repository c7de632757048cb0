#include "settings/FolderValidation.h"

#include <QDir>
#include <QFileInfo>

namespace {

constexpr QChar separator = u'/';

bool isBlankOrDot(QChar c)
{
    return c == u' ' || c == u'\t' || c == u'.';
}

// In create mode a level counts only once it exists; why mkdir failed does not matter.
bool makeLevel(const QString& prefix)
{
    QDir().mkdir(prefix);
    return QFileInfo::exists(prefix);
}

} // namespace

int WalkFolderPath(const QString& path, bool checkOnly)
{
    if (!path.startsWith(separator))
        return 1;
    if (path.size() == 1)
        return checkOnly || QFileInfo::exists(path) ? 0 : 2;

    qsizetype start = 1;
    for (;;) {
        qsizetype end = path.indexOf(separator, start);
        if (end < 0)
            end = path.size();
        if (!IsValidFolderName(QStringView(path).sliced(start, end - start)))
            return 1;
        if (!checkOnly && !makeLevel(path.first(end)))
            return 2;
        if (end == path.size())
            return 0;
        // A trailing separator leaves an empty last component, which is refused.
        start = end + 1;
    }
}

bool IsValidFolderName(QStringView name)
{
    if (name.isEmpty() || isBlankOrDot(name.front()) || isBlankOrDot(name.back()))
        return false;
    static constexpr QStringView forbidden = u"\"*/:<>?\\|";
    for (QChar c : name) {
        if (forbidden.contains(c))
            return false;
    }
    return true;
}
