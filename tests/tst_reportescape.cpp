#include "base/LocalPath.h"
#include "base/ReportEscape.h"

#include <QTest>

// Whatever a file name holds, its report stays one printable line that names it exactly.
class ReportEscapeTest : public QObject
{
    Q_OBJECT

private slots:
    void keepsEachReportOnOnePrintableLine_data();
    void keepsEachReportOnOnePrintableLine();
    void givesTheBytesBack_data() { keepsEachReportOnOnePrintableLine_data(); }
    void givesTheBytesBack();
    void refusesEscapesNeverWritten_data();
    void refusesEscapesNeverWritten();
};

void ReportEscapeTest::keepsEachReportOnOnePrintableLine_data()
{
    QTest::addColumn<QByteArray>("name"); // as the file system holds it
    QTest::addColumn<QString>("escaped");

    QTest::newRow("plain") << QByteArray("/p/a b.jpg") << "/p/a b.jpg";
    QTest::newRow("utf-8") << QByteArray("/fotos/\xc3\xa9t\xc3\xa9.jpg") << "/fotos/été.jpg";
    QTest::newRow("four-byte character")
        << QByteArray("/\xf0\x9f\x93\xb7.jpg") << QStringLiteral("/\U0001F4F7.jpg");
    QTest::newRow("latin-1 byte") << QByteArray("/card/lat\xedn.jpg") << "/card/lat\\xedn.jpg";
    QTest::newRow("cut-off sequence at the end") << QByteArray("/p/a\xe2\x82") << "/p/a\\xe2\\x82";
    QTest::newRow("line feed") << QByteArray("/p/a\nb.jpg") << "/p/a\\nb.jpg";
    QTest::newRow("carriage return") << QByteArray("/p/a\rb.jpg") << "/p/a\\rb.jpg";
    QTest::newRow("tab") << QByteArray("/p/a\tb.jpg") << "/p/a\\tb.jpg";
    QTest::newRow("backslash") << QByteArray("/p/a\\nb.jpg") << "/p/a\\\\nb.jpg";
    QTest::newRow("terminal escape")
        << QByteArray("/p/\x1b]0;x\x07.jpg") << "/p/\\x1b]0;x\\x07.jpg";
    QTest::newRow("delete") << QByteArray("/p/a\x7f.jpg") << "/p/a\\x7f.jpg";
    QTest::newRow("c1 next line") << QByteArray("/p/a\xc2\x85.jpg") << "/p/a\\xc2\\x85.jpg";
    QTest::newRow("line separator")
        << QByteArray("/p/a\xe2\x80\xa8.jpg") << "/p/a\\xe2\\x80\\xa8.jpg";
    QTest::newRow("right-to-left override")
        << QByteArray("/p/\xe2\x80\xaegpj.exe") << "/p/\\xe2\\x80\\xaegpj.exe";
}

void ReportEscapeTest::keepsEachReportOnOnePrintableLine()
{
    QFETCH(QByteArray, name);
    const QString escaped = escapeForReport(pathFromLocal(name));
    QTEST(escaped, "escaped");
    for (const char32_t c : escaped.toUcs4())
        QVERIFY2(QChar::isPrint(c) && c != 0xfffd, qPrintable(escaped));
}

// The record of renames keeps paths this way and must find each file again.
void ReportEscapeTest::givesTheBytesBack()
{
    QFETCH(QByteArray, name);
    QFETCH(QString, escaped);
    QCOMPARE(unescapeReport(escaped.toUtf8()), std::optional<QByteArray>(name));
    QCOMPARE(pathFromLocal(*unescapeReport(escapeForReport(pathFromLocal(name)).toUtf8())),
             pathFromLocal(name));
}

void ReportEscapeTest::refusesEscapesNeverWritten_data()
{
    QTest::addColumn<QByteArray>("text");

    QTest::newRow("lone backslash at the end") << QByteArray("/p/a\\");
    QTest::newRow("unknown letter") << QByteArray("/p/\\q.jpg");
    QTest::newRow("one hexadecimal digit") << QByteArray("/p/\\x4");
    QTest::newRow("not hexadecimal") << QByteArray("/p/\\xzz.jpg");
    QTest::newRow("upper case digits") << QByteArray("/p/\\xE9.jpg");
}

void ReportEscapeTest::refusesEscapesNeverWritten()
{
    QFETCH(QByteArray, text);
    QVERIFY(!unescapeReport(text));
}

QTEST_APPLESS_MAIN(ReportEscapeTest)
#include "tst_reportescape.moc"
