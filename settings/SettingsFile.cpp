#include "settings/SettingsFile.h"

#include <QFile>
#include <QSaveFile>

#include <algorithm>
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
        else if (int* const* number = std::get_if<int*>(&field.value))
            **number = leadingInteger(value);
        else if (const ExactInteger* exact = std::get_if<ExactInteger>(&field.value))
            *exact->value = exactInteger(value).value_or(exact->notAnInteger);
        return;
    }
}

QByteArray formatted(const SettingsField& field)
{
    QByteArray line = QByteArray(field.key) + " = ";
    if (QString* const* text = std::get_if<QString*>(&field.value))
        line += (*text)->toUtf8();
    else if (int* const* number = std::get_if<int*>(&field.value))
        line += QByteArray::number(**number);
    else if (const ExactInteger* exact = std::get_if<ExactInteger>(&field.value))
        line += QByteArray::number(*exact->value);
    return line + '\n';
}

// The next line of the file, with its line break; none for a line longer than longestLine,
// which is read past in pieces and never held whole.
std::optional<QByteArray> nextLine(QFile& file)
{
    // Room for the longest line, its line break, and the one byte more that tells it is
    // longer; QIODevice keeps a byte of maxSize for a terminating NUL.
    constexpr qint64 room = longestLine + 3;
    QByteArray line = file.readLine(room);
    const bool whole = line.endsWith('\n') || file.atEnd();
    if (whole && line.size() - (line.endsWith('\n') ? 1 : 0) <= longestLine)
        return line;
    if (line.endsWith('\n'))
        return std::nullopt;
    char piece[4096];
    while (!file.atEnd()) {
        const qint64 got = file.readLine(piece, sizeof piece);
        if (got <= 0 || piece[got - 1] == '\n')
            break;
    }
    return std::nullopt;
}

} // namespace

std::optional<int> exactInteger(const QString& text)
{
    const QByteArray digits = text.toLatin1();
    const qsizetype first = digits.startsWith('-') || digits.startsWith('+') ? 1 : 0;
    if (digits.size() == first || digits.size() > 12 ||
        !std::all_of(digits.begin() + first, digits.end(),
                     [](char c) { return c >= '0' && c <= '9'; }))
        return std::nullopt;
    const long long value = digits.toLongLong();
    if (value < INT_MIN || value > INT_MAX)
        return std::nullopt;
    return int(value);
}

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
        if (const std::optional<QByteArray> line = nextLine(file))
            readLine(*line, fields);
    return true;
}

bool save(const QString& path, std::span<const SettingsField> fields, Access access)
{
    // Written beside the old file and renamed over it, so a crash or a full disk never
    // leaves a half-written settings file behind.
    const bool existed = QFile::exists(path);
    QSaveFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return false;
    // Before the first byte: the new file takes the place of the old one as it is.
    const QFileDevice::Permissions ownerOnly = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
    if (access == Access::OwnerOnly || (access == Access::NewOwnerOnly && !existed)) {
        if (!file.setPermissions(ownerOnly))
            return false;
    }
    for (const SettingsField& field : fields)
        file.write(formatted(field));
    return file.commit();
}

} // namespace SettingsFile
