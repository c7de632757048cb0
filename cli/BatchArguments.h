#pragma once

#include "cli/BatchJob.h"

#include <QString>
#include <QStringList>

// Reads the command line of morvane-batch into a BatchJob. Parsed by hand because
// "--group N" applies to the files that follow it, an order a generic option parser
// does not keep.
class BatchArguments
{
public:
    // The arguments without the program name.
    explicit BatchArguments(const QStringList& arguments);

    bool isValid() const { return m_error.isEmpty(); }
    // Why the arguments were refused, in one line.
    QString error() const { return m_error; }
    const BatchJob& job() const { return m_job; }

    static QString usage();

private:
    // Takes the argument at m_next and whatever value it needs; false on an error.
    bool takeNext();
    bool takeValue(const QString& option, QString& value);
    bool takeGroup(const QString& value);
    bool takePrefix(const QString& value);
    bool takeUndo();

    QStringList m_arguments;
    qsizetype m_next = 0;
    QString m_group = QStringLiteral("1"); // files before the first --group are in group 1
    BatchJob m_job;
    QString m_error;
};
