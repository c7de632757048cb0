#include "ProcessMemory.h"

#include "settings/FtpSettings.h"
#include "settings/ImageSettings.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

#include <sys/stat.h>

class SettingsFileTest : public QObject
{
    Q_OBJECT

private:
    QString write(const QByteArray& content)
    {
        const QString path = m_dir.filePath(QStringLiteral("settings.cfg"));
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate))
            qFatal("cannot write %s", qPrintable(path));
        file.write(content);
        return path;
    }

    QByteArray read(const QString& path)
    {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QTemporaryDir m_dir;

private slots:
    void readsTrickyFtpLines_data();
    void readsTrickyFtpLines();
    void readsTrickyImageLines_data();
    void readsTrickyImageLines();
    void missingFileKeepsValues();
    void writesFtpFileInItsOrder();
    void readsTheSecurityKeys_data();
    void readsTheSecurityKeys();
    void readsTheUploadChoices_data();
    void readsTheUploadChoices();
    void trustBelongsToOneServer_data();
    void trustBelongsToOneServer();
    void imageSettingsRoundTrip();
    void writesTheWebKeysAfterTheSixteen();
    void readsEachWebKey_data();
    void readsEachWebKey();
    void webSafeNamesAreOffUnlessTheFileSaysSo_data();
    void webSafeNamesAreOffUnlessTheFileSaysSo();
    void newFtpFileIsPrivate();
    void saveKeepsPermissionsOfExistingFile();
    void passwordMakesTheFilePrivate_data();
    void passwordMakesTheFilePrivate();
    void skipsOverlongLinesUnread_data();
    void skipsOverlongLinesUnread();
    void findsUnusableExtensions_data();
    void findsUnusableExtensions();
    void failedSaveLeavesOldFile();
};

void SettingsFileTest::readsTrickyFtpLines_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("server");
    QTest::addColumn<int>("port");
    QTest::addColumn<QString>("password");
    QTest::addColumn<QString>("userName");

    QTest::newRow("as written") << QByteArray("Server = ftp.example.org\nPort = 2121\n")
                                << "ftp.example.org" << 2121 << ""
                                << "";
    QTest::newRow("no blanks around =")
        << QByteArray("Server=host\nPort=21\n") << "host" << 21 << ""
        << "";
    QTest::newRow("CR LF line ends")
        << QByteArray("Server = host\r\nUserName = me\r\n") << "host" << 0 << ""
        << "me";
    QTest::newRow("no final line break")
        << QByteArray("Port = 21\nUserName = last") << "" << 21 << ""
        << "last";
    QTest::newRow("blanks trimmed")
        << QByteArray("Password = \t secret  \t\n") << "" << 0 << "secret"
        << "";
    QTest::newRow("value keeps later =") << QByteArray("Password = a=b\n") << "" << 0 << "a=b"
                                         << "";
    QTest::newRow("Server found inside a password")
        << QByteArray("Password = MyServer\n") << "MyServer" << 0 << ""
        << "";
    QTest::newRow("lower-case key ignored") << QByteArray("server = host\n") << "" << 0 << ""
                                            << "";
    QTest::newRow("line without = takes whole line") << QByteArray("UserName\n") << "" << 0 << ""
                                                     << "UserName";
    QTest::newRow("port with trailing text") << QByteArray("Port = 21abc\n") << "" << 21 << ""
                                             << "";
    QTest::newRow("port without digits") << QByteArray("Port = abc\n") << "" << 0 << ""
                                         << "";
    QTest::newRow("negative port") << QByteArray("Port = -5\n") << "" << -5 << ""
                                   << "";
    QTest::newRow("blank and unknown lines")
        << QByteArray("\n\nColour = red\nPort = 7\n") << "" << 7 << ""
        << "";
    QTest::newRow("empty value") << QByteArray("UserName = \n") << "" << 0 << ""
                                 << "";
    QTest::newRow("long line") << QByteArray("Server = " + QByteArray(5000, 'x') + "\nPort = 1\n")
                               << QString(5000, u'x') << 1 << ""
                               << "";
}

void SettingsFileTest::readsTrickyFtpLines()
{
    QFETCH(QByteArray, content);
    FtpSettings settings;
    QVERIFY(settings.load(write(content)));
    QTEST(settings.Server, "server");
    QTEST(settings.Port, "port");
    QTEST(settings.Password, "password");
    QTEST(settings.UserName, "userName");
}

void SettingsFileTest::readsTrickyImageLines_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<QString>("thumbSaveDir");
    QTest::addColumn<QString>("largeSaveDir");
    QTest::addColumn<int>("thumbWidth");

    QTest::newRow("Large key tried before Thumb key")
        << QByteArray("ThumbSaveDir = /site/LargeSaveDir\n") << ""
        << "/site/LargeSaveDir" << 0;
    QTest::newRow("stray key line reads 0") << QByteArray("ThumbWidth = 9\nThumbWidth\n") << ""
                                            << "" << 0;
    QTest::newRow("trailing blank of a directory is lost")
        << QByteArray("ThumbSaveDir = /site/thumbs \n") << "/site/thumbs"
        << "" << 0;
}

void SettingsFileTest::readsTrickyImageLines()
{
    QFETCH(QByteArray, content);
    ImageSettings settings;
    QVERIFY(settings.load(write(content)));
    QTEST(settings.thumbnail.SaveDir, "thumbSaveDir");
    QTEST(settings.large.SaveDir, "largeSaveDir");
    QTEST(settings.thumbnail.Width, "thumbWidth");
}

void SettingsFileTest::missingFileKeepsValues()
{
    FtpSettings settings;
    settings.Server = QStringLiteral("kept");
    settings.Port = 99;
    QVERIFY(!settings.load(m_dir.filePath(QStringLiteral("missing.cfg"))));
    QCOMPARE(settings.Server, QStringLiteral("kept"));
    QCOMPARE(settings.Port, 99);

    QVERIFY(settings.load(write("UserName = me\n")));
    QCOMPARE(settings.Server, QStringLiteral("kept"));
    QCOMPARE(settings.UserName, QStringLiteral("me"));
}

void SettingsFileTest::writesFtpFileInItsOrder()
{
    FtpSettings settings;
    settings.Server = QStringLiteral("ftp.example.org");
    settings.Port = -1;
    settings.Password = QStringLiteral("pa ss");
    settings.ThumbnailFtpDir = QStringLiteral("www/thumbs");
    settings.Passive = 1;
    const QString path = m_dir.filePath(QStringLiteral("ftp.cfg"));
    QVERIFY(settings.save(path));
    QCOMPARE(read(path), QByteArray("Server = ftp.example.org\n"
                                    "Port = -1\n"
                                    "Password = pa ss\n"
                                    "UserName = \n"
                                    "ImageFtpDir = \n"
                                    "ThumbnailFtpDir = www/thumbs\n"
                                    "Passive = 1\n"
                                    "Anonymous = 0\n"
                                    "Security = 0\n"
                                    "TrustedFingerprint = \n"
                                    "SendAll = 0\n"
                                    "Connections = 4\n"
                                    "RemoveStale = 0\n"));
}

void SettingsFileTest::readsTheSecurityKeys_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("security");
    QTest::addColumn<QString>("fingerprint");
    QTest::addColumn<QString>("password");

    const QByteArray older = "Server = host\nPort = 21\nPassword = pw\nUserName = me\n"
                             "ImageFtpDir = images\nThumbnailFtpDir = thumbs\nPassive = 1\n"
                             "Anonymous = 0\n";
    // clang-format off
    QTest::newRow("older file: plain FTP, nothing trusted") << older << 0 << "" << "pw";
    QTest::newRow("as written")
        << older + "Security = 3\nTrustedFingerprint = 0a:1b:ff\n" << 3 << "0a:1b:ff" << "pw";
    QTest::newRow("a password holding a newer key stays the password")
        << QByteArray("Password = MySecurityTrustedFingerprint\n") << 0 << ""
        << "MySecurityTrustedFingerprint";
    // Anything but a number is refused where it is used, as 7 and -1 are, never plain FTP.
    const int unknown = FtpSettings::unknownSecurity;
    QTest::newRow("security as a word") << QByteArray("Security = TLS\n") << unknown << "" << "";
    QTest::newRow("security as another word") << QByteArray("Security = two\n") << unknown << "" << "";
    QTest::newRow("security empty") << QByteArray("Security =\n") << unknown << "" << "";
    QTest::newRow("security without equals sign") << QByteArray("Security\n") << unknown << "" << "";
    QTest::newRow("security with text after it") << QByteArray("Security = 2x\n") << unknown << "" << "";
    QTest::newRow("security out of range") << QByteArray("Security = 7\n") << 7 << "" << "";
    QTest::newRow("security negative") << QByteArray("Security = -1\n") << -1 << "" << "";
    QTest::newRow("security between blanks") << QByteArray("Security =  2 \r\n") << 2 << "" << "";
    QTest::newRow("security too large for a number")
        << QByteArray("Security = 99999999999\n") << unknown << "" << "";
    // clang-format on
}

void SettingsFileTest::readsTheSecurityKeys()
{
    QFETCH(QByteArray, content);
    FtpSettings settings;
    QVERIFY(settings.load(write(content)));
    QTEST(settings.Security, "security");
    QTEST(settings.TrustedFingerprint, "fingerprint");
    QTEST(settings.Password, "password");
}

void SettingsFileTest::readsTheUploadChoices_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("sendAll");
    QTest::addColumn<int>("connections"); // as the upload uses it
    QTest::addColumn<int>("removeStale");
    QTest::addColumn<QString>("imageDir");

    const QByteArray older = "Server = host\nImageFtpDir = images\nSecurity = 0\n"
                             "TrustedFingerprint = \n";
    // clang-format off
    QTest::newRow("older file: changed files only, 4 at a time, nothing removed")
        << older << 0 << 4 << 0 << "images";
    QTest::newRow("as written")
        << older + "SendAll = 1\nConnections = 2\nRemoveStale = 1\n" << 1 << 2 << 1 << "images";
    QTest::newRow("no connections means one") << QByteArray("Connections = 0\n") << 0 << 1 << 0 << "";
    QTest::newRow("at most 8") << QByteArray("Connections = 50\n") << 0 << 8 << 0 << "";
    QTest::newRow("a folder named after a newer key stays the folder")
        << QByteArray("ImageFtpDir = RemoveStaleSendAllConnections\n") << 0 << 4 << 0
        << "RemoveStaleSendAllConnections";
    // clang-format on
}

void SettingsFileTest::readsTheUploadChoices()
{
    QFETCH(QByteArray, content);
    FtpSettings settings;
    QVERIFY(settings.load(write(content)));
    QTEST(settings.SendAll, "sendAll");
    QTEST(settings.connectionCount(), "connections");
    QTEST(settings.RemoveStale, "removeStale");
    QTEST(settings.ImageFtpDir, "imageDir");
}

void SettingsFileTest::trustBelongsToOneServer_data()
{
    QTest::addColumn<QString>("field");
    QTest::addColumn<bool>("kept");

    // clang-format off
    QTest::newRow("nothing changed") << "" << true;
    QTest::newRow("user name") << "UserName" << true;
    QTest::newRow("password") << "Password" << true;
    QTest::newRow("passive") << "Passive" << true;
    QTest::newRow("server") << "Server" << false;
    QTest::newRow("port") << "Port" << false;
    QTest::newRow("security") << "Security" << false;
    // clang-format on
}

void SettingsFileTest::trustBelongsToOneServer()
{
    QFETCH(QString, field);
    QFETCH(bool, kept);
    FtpSettings before;
    before.Server = QStringLiteral("ftp.example.org");
    before.Security = 2;
    before.TrustedFingerprint = QStringLiteral("0a:1b");
    FtpSettings after = before;
    if (field == "UserName")
        after.UserName = QStringLiteral("other");
    else if (field == "Password")
        after.Password = QStringLiteral("other");
    else if (field == "Passive")
        after.Passive = 1;
    else if (field == "Server")
        after.Server = QStringLiteral("ftp.example.net");
    else if (field == "Port")
        after.Port = 990;
    else if (field == "Security")
        after.Security = 3;
    after.keepTrustOnlyFor(before);
    QCOMPARE(after.TrustedFingerprint, kept ? QStringLiteral("0a:1b") : QString());
}

void SettingsFileTest::imageSettingsRoundTrip()
{
    ImageSettings written;
    written.thumbnail = {QStringLiteral("/site/thumbs"), 160, 0, 1, 0, 70, QStringLiteral("_t")};
    written.large = {QStringLiteral("/site/images"), 0, 600, 0, 1, 85, QString()};
    written.RenameOriginalFile = 1;
    written.OriginalExtension = QStringLiteral("_orig");
    written.WebSafeNames = 1;
    const QString path = m_dir.filePath(QStringLiteral("morvane.cfg"));
    QVERIFY(written.save(path));
    QCOMPARE(read(path).left(40), QByteArray("LargeExtension = \nLargeHeight = 600\nLarg"));
    QVERIFY(read(path).contains("\nOriginalExtension = _orig\nThumbWebp = 0\n"));
    QVERIFY(read(path).endsWith("\nWriteMarkup = 0\nWebSafeNames = 1\n"));

    ImageSettings readBack;
    QVERIFY(readBack.load(path));
    QCOMPARE(readBack.thumbnail.SaveDir, written.thumbnail.SaveDir);
    QCOMPARE(readBack.thumbnail.Width, 160);
    QCOMPARE(readBack.thumbnail.UseWidth, 1);
    QCOMPARE(readBack.thumbnail.Quality, 70);
    QCOMPARE(readBack.thumbnail.Extension, QStringLiteral("_t"));
    QCOMPARE(readBack.large.Height, 600);
    QCOMPARE(readBack.large.UseHeight, 1);
    QCOMPARE(readBack.large.Quality, 85);
    QCOMPARE(readBack.RenameOriginalFile, 1);
    QCOMPARE(readBack.OriginalExtension, QStringLiteral("_orig"));
    QCOMPARE(readBack.WebSafeNames, 1);
}

void SettingsFileTest::webSafeNamesAreOffUnlessTheFileSaysSo_data()
{
    QTest::addColumn<QByteArray>("content");
    QTest::addColumn<int>("webSafe");

    QTest::newRow("a file of the sixteen keys") << QByteArray("RenameOriginalFile = 1\n") << 0;
    QTest::newRow("on") << QByteArray("WebSafeNames = 1\n") << 1;
    QTest::newRow("off") << QByteArray("WebSafeNames = 0\r\n") << 0;
    // The earlier keys are tried first, as every key of the file is.
    QTest::newRow("in a save directory")
        << QByteArray("ThumbSaveDir = /site/WebSafeNames = 1\n") << 0;
}

void SettingsFileTest::webSafeNamesAreOffUnlessTheFileSaysSo()
{
    QFETCH(QByteArray, content);
    ImageSettings settings;
    QVERIFY(settings.load(write(content)));
    QTEST(settings.WebSafeNames, "webSafe");
}

void SettingsFileTest::writesTheWebKeysAfterTheSixteen()
{
    ImageSettings settings;
    settings.thumbnail.Avif = 1;
    settings.large.Double = 1;
    settings.WriteMarkup = 1;
    const QString path = m_dir.filePath(QStringLiteral("morvane.cfg"));
    QVERIFY(settings.save(path));
    const QList<QByteArray> lines = read(path).split('\n');
    QCOMPARE(lines.size(), 31); // 30 keys and the empty text after the last line break
    QCOMPARE(lines[15], QByteArray("OriginalExtension = "));
    QCOMPARE(lines.mid(16, 13),
             (QList<QByteArray>{"ThumbWebp = 0", "ThumbAvif = 1", "ThumbDouble = 0",
                                "ThumbKeepRatio = 0", "ThumbNoEnlarge = 0", "LargeWebp = 0",
                                "LargeAvif = 0", "LargeDouble = 1", "LargeKeepRatio = 0",
                                "LargeNoEnlarge = 0", "ProgressiveJpeg = 0", "KeepCredits = 0",
                                "WriteMarkup = 1"}));
}

void SettingsFileTest::readsEachWebKey_data()
{
    QTest::addColumn<QByteArray>("key");
    QTest::addColumn<int>("field");
    const char* keys[] = {"ThumbWebp",      "ThumbAvif",      "ThumbDouble",     "ThumbKeepRatio",
                          "ThumbNoEnlarge", "LargeWebp",      "LargeAvif",       "LargeDouble",
                          "LargeKeepRatio", "LargeNoEnlarge", "ProgressiveJpeg", "KeepCredits",
                          "WriteMarkup"};
    for (int field = 0; field < int(std::size(keys)); ++field)
        QTest::newRow(keys[field]) << QByteArray(keys[field]) << field;
}

// Each key sets its own field alone; a file written before the keys existed sets none, so it
// gives the outputs it always gave.
void SettingsFileTest::readsEachWebKey()
{
    QFETCH(QByteArray, key);
    QFETCH(int, field);
    const QByteArray older = "LargeExtension = \nLargeHeight = 600\nLargeQuality = 85\n"
                             "LargeSaveDir = /site/ThumbWebp\nLargeUseHeight = 1\n"
                             "ThumbWidth = 160\nRenameOriginalFile = 0\nOriginalExtension = \n";
    const auto webFields = [](const ImageSettings& s) {
        return QList<int>{s.thumbnail.Webp,      s.thumbnail.Avif,      s.thumbnail.Double,
                          s.thumbnail.KeepRatio, s.thumbnail.NoEnlarge, s.large.Webp,
                          s.large.Avif,          s.large.Double,        s.large.KeepRatio,
                          s.large.NoEnlarge,     s.ProgressiveJpeg,     s.KeepCredits,
                          s.WriteMarkup};
    };
    ImageSettings before;
    QVERIFY(before.load(write(older)));
    QCOMPARE(webFields(before), QList<int>(13, 0));
    QCOMPARE(before.large.SaveDir, QStringLiteral("/site/ThumbWebp"));

    ImageSettings after;
    QVERIFY(after.load(write(older + key + " = 1\r\n")));
    const QList<int> fields = webFields(after);
    QCOMPARE(fields.count(1), 1);
    QCOMPARE(fields.indexOf(1), field);
    QCOMPARE(after.large.SaveDir, before.large.SaveDir);
    QCOMPARE(after.thumbnail.Width, 160);
}

void SettingsFileTest::newFtpFileIsPrivate()
{
    const QString path = m_dir.filePath(QStringLiteral("new-ftp.cfg"));
    QVERIFY(FtpSettings().save(path));
    struct stat status = {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
    QCOMPARE(status.st_mode & 0777, mode_t(0600));
}

void SettingsFileTest::saveKeepsPermissionsOfExistingFile()
{
    const QString path = write("Server = old\n");
    QVERIFY(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                            QFileDevice::ReadGroup));
    FtpSettings settings;
    settings.Server = QStringLiteral("new");
    QVERIFY(settings.save(path));
    QCOMPARE(QFile::permissions(path) & 0x7077, // owner, group and others
             QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadGroup);
    QVERIFY(read(path).startsWith("Server = new\n"));
}

void SettingsFileTest::passwordMakesTheFilePrivate_data()
{
    QTest::addColumn<QString>("password");
    QTest::addColumn<int>("mode");

    QTest::newRow("no password: kept as it was") << "" << 0644;
    QTest::newRow("a password: owner only") << "secret" << 0600;
}

void SettingsFileTest::passwordMakesTheFilePrivate()
{
    QFETCH(QString, password);
    const QString path = write("Server = old\n");
    QCOMPARE(::chmod(QFile::encodeName(path).constData(), 0644), 0);
    FtpSettings settings;
    settings.load(path);
    settings.Password = password;
    QVERIFY(settings.save(path));
    struct stat status = {};
    QCOMPARE(::stat(QFile::encodeName(path).constData(), &status), 0);
    QTEST(int(status.st_mode & 0777), "mode");
    QVERIFY(read(path).contains("Password = " + password.toUtf8() + "\n"));
}

void SettingsFileTest::skipsOverlongLinesUnread_data()
{
    QTest::addColumn<qint64>("length");
    QTest::addColumn<bool>("lastLine"); // without a line break after it
    QTest::addColumn<bool>("read");

    QTest::newRow("64 KB") << SettingsFile::longestLine << false << true;
    QTest::newRow("64 KB, last") << SettingsFile::longestLine << true << true;
    QTest::newRow("a byte more") << SettingsFile::longestLine + 1 << false << false;
    QTest::newRow("a byte more, last") << SettingsFile::longestLine + 1 << true << false;
    QTest::newRow("100 MB") << qint64(100) * 1024 * 1024 << false << false;
}

// The line is skipped without being held: memory grows by far less than the line.
void SettingsFileTest::skipsOverlongLinesUnread()
{
    QFETCH(qint64, length);
    QFETCH(bool, lastLine);
    QFETCH(bool, read);
    const QString path = m_dir.filePath(QStringLiteral("long.cfg"));
    {
        QFile file(path);
        QVERIFY(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write("ThumbWidth = 160\n");
        const QByteArray start = "ThumbSaveDir = /";
        const QByteArray piece(1024 * 1024, 'x');
        file.write(start);
        for (qint64 left = length - start.size(); left > 0; left -= piece.size())
            file.write(piece.first(std::min(left, qint64(piece.size()))));
        if (!lastLine)
            file.write("\nLargeWidth = 800\n");
    }
    const qint64 before = peakResidentKilobytes();
    ImageSettings settings;
    QVERIFY(settings.load(path));
    QVERIFY2(!memoryBoundsHold || peakResidentKilobytes() - before < 8 * 1024,
             "the line was held whole");
    QCOMPARE(settings.thumbnail.Width, 160);
    QCOMPARE(settings.large.Width, lastLine ? 0 : 800);
    QCOMPARE(settings.thumbnail.SaveDir.size(), read ? length - 15 : 0);
    QFile::remove(path);
}

void SettingsFileTest::findsUnusableExtensions_data()
{
    QTest::addColumn<QString>("thumb");
    QTest::addColumn<QString>("large");
    QTest::addColumn<QString>("original");
    QTest::addColumn<int>("rename");
    QTest::addColumn<QStringList>("keys");

    const QString nul = QStringLiteral("_a") + QChar(u'\0') + QStringLiteral("b");
    QTest::newRow("usual") << "_t"
                           << ""
                           << "_orig" << 1 << QStringList();
    QTest::newRow("slash") << "x/_t"
                           << ""
                           << "" << 0 << QStringList({"ThumbExtension"});
    QTest::newRow("NUL") << "" << nul << "" << 0 << QStringList({"LargeExtension"});
    QTest::newRow("both") << "/"
                          << "/"
                          << "" << 0 << QStringList({"LargeExtension", "ThumbExtension"});
    QTest::newRow("original, renamed") << ""
                                       << ""
                                       << "../x" << 1 << QStringList({"OriginalExtension"});
    QTest::newRow("original, not renamed") << ""
                                           << ""
                                           << "../x" << 0 << QStringList();
}

void SettingsFileTest::findsUnusableExtensions()
{
    QFETCH(QString, thumb);
    QFETCH(QString, large);
    QFETCH(QString, original);
    QFETCH(int, rename);
    ImageSettings settings;
    settings.thumbnail.Extension = thumb;
    settings.large.Extension = large;
    settings.OriginalExtension = original;
    settings.RenameOriginalFile = rename;
    QTEST(settings.unusableExtensions(), "keys");
}

void SettingsFileTest::failedSaveLeavesOldFile()
{
    if (::geteuid() == 0)
        QSKIP("root may write into a read-only folder");
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("ftp.cfg"));
    FtpSettings settings;
    settings.Server = QStringLiteral("old");
    QVERIFY(settings.save(path));
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::ExeOwner));
    settings.Server = QStringLiteral("new");
    QVERIFY(!settings.save(path));
    QVERIFY(QFile::setPermissions(dir.path(), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                  QFileDevice::ExeOwner));
    QVERIFY(read(path).startsWith("Server = old\n"));
}

QTEST_APPLESS_MAIN(SettingsFileTest)
#include "tst_settingsfile.moc"
