#include "settings/SettingsFile.h"

#include <QFile>
#include <QSaveFile>

#include <climits>
#include <cstdlib>

namespace SettingsFile {
namespace {

// The blanks the reader trims; a CR left by a file written on Windows is one of them.
bool isBlank(char c)
{
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

QByteArray trimmed(QByteArray text)
{
    qsizetype begin = 0;
    qsizetype end = text.size();
    while (begin < end && isBlank(text[begin]))
        ++begin;
    while (end > begin && isBlank(text[end - 1]))
        --end;
    return text.mid(begin, end - begin);
}

void readLine(const QByteArray& line, std::span<const SettingsField> fields)
{
    const qsizetype equals = line.indexOf('=');
    const QString value = QString::fromUtf8(trimmed(equals < 0 ? line : line.mid(equals + 1)));
    // The first key found anywhere in the line decides, even inside another key's value.
    for (const SettingsField& field : fields) {
        if (!line.contains(field.key))
            continue;
        if (QString* const* text = std::get_if<QString*>(&field.value))
            **text = value;
        else
            *std::get<int*>(field.value) = leadingInteger(value);
        return;
    }
}

QByteArray formatted(const SettingsField& field)
{
    QByteArray line = QByteArray(field.key) + " = ";
    if (QString* const* text = std::get_if<QString*>(&field.value))
        line += (*text)->toUtf8();
    else
        line += QByteArray::number(*std::get<int*>(field.value));
    return line + '\n';
}

} // namespace

int leadingInteger(const QString& text)
{
    const QByteArray digits = text.toLatin1();
    const long value = std::strtol(digits.constData(), nullptr, 10);
    return int(qBound(long(INT_MIN), value, long(INT_MAX)));
}

bool load(const QString& path, std::span<const SettingsField> fields)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return false;
    while (!file.atEnd())
        readLine(file.readLine(), fields);
    return true;
}

bool save(const QString& path, std::span<const SettingsField> fields,
          std::optional<QFileDevice::Permissions> newFilePermissions)
{
    // Written beside the old file and renamed over it, so a crash or a full disk never
    // leaves a half-written settings file behind.
    const bool existed = QFile::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    if (!existed && newFilePermissions)
        file.setPermissions(*newFilePermissions);
    for (const SettingsField& field : fields)
        file.write(formatted(field));
    return file.commit();
}

} // namespace SettingsFile
