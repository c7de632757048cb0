#include "base/LocalPath.h"

#include <QTest>

// File names are bytes: every name must come back from a QString exactly as it was.
class LocalPathTest : public QObject
{
    Q_OBJECT

private slots:
    void namesRoundTripByteForByte_data();
    void namesRoundTripByteForByte();
};

void LocalPathTest::namesRoundTripByteForByte_data()
{
    QTest::addColumn<QByteArray>("bytes");
    QTest::addColumn<QString>("text"); // empty when the name is not valid UTF-8

    // clang-format off
    QTest::newRow("ascii") << QByteArray("/photos/a.jpg") << QStringLiteral("/photos/a.jpg");
    QTest::newRow("utf-8") << QByteArray("/fotos/\xc3\xa9t\xc3\xa9.jpg")
                           << QStringLiteral("/fotos/été.jpg");
    QTest::newRow("four-byte character") << QByteArray("/\xf0\x9f\x93\xb7.jpg")
                                         << QStringLiteral("/\U0001F4F7.jpg");
    QTest::newRow("latin-1 byte") << QByteArray("/card/lat\xedn.jpg") << QString();
    QTest::newRow("cut-off sequence") << QByteArray("/a\xe2\x82") << QString();
    QTest::newRow("overlong slash") << QByteArray("/a\xc0\xaf.jpg") << QString();
    QTest::newRow("encoded surrogate") << QByteArray("/a\xed\xa0\x80.jpg") << QString();
    QTest::newRow("beyond unicode") << QByteArray("/a\xf4\x90\x80\x80") << QString();
    QTest::newRow("invalid byte after a four-byte character")
        << QByteArray("/\xf0\x9f\x93\xb7\xff") << QString();
    // clang-format on
    QTest::newRow("every high byte alone") << [] {
        QByteArray all;
        for (int byte = 0x80; byte <= 0xff; ++byte)
            all += char(byte);
        return all;
    }() << QString();
}

void LocalPathTest::namesRoundTripByteForByte()
{
    QFETCH(QByteArray, bytes);
    QFETCH(QString, text);
    const QString path = pathFromLocal(bytes);
    if (!text.isEmpty())
        QCOMPARE(path, text);
    QCOMPARE(pathToLocal(path), bytes);
    // The folder part ends at the same slash, whatever the bytes around it.
    QCOMPARE(pathToLocal(path.left(lastPathSeparator(path) + 1)),
             bytes.left(bytes.lastIndexOf('/') + 1));
}

QTEST_APPLESS_MAIN(LocalPathTest)
#include "tst_localpath.moc"
