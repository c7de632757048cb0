#include "imaging/ImageBatch.h"
#include "publish/RemoteFolders.h"
#include "settings/FtpSettings.h"

#include <QTest>

// Where each profile's files go on the server, and how a page among the thumbnails finds the
// large images there.
class RemoteFoldersTest : public QObject
{
    Q_OBJECT

private slots:
    void findsTheImageFolderAsTheUploadWalks_data();
    void findsTheImageFolderAsTheUploadWalks();
    void sendsEachProfileToItsFolder();
};

void RemoteFoldersTest::findsTheImageFolderAsTheUploadWalks_data()
{
    QTest::addColumn<QString>("thumbnailDir");
    QTest::addColumn<QString>("imageDir");
    QTest::addColumn<QString>("path");

    // Both from the login folder: up one level after the thumbnails.
    QTest::newRow("side by side") << "thumbs"
                                  << "images"
                                  << "../images";
    QTest::newRow("the README's example") << "www/thumbs"
                                          << "images"
                                          << "../images";
    QTest::newRow("one folder") << "thumbs"
                                << "thumbs"
                                << "";
    QTest::newRow("below the thumbnails") << "site/thumbs"
                                          << "thumbs/large"
                                          << "large";
    QTest::newRow("above the login folder") << "thumbs"
                                            << "../images"
                                            << "../../images";
    QTest::newRow("both above the login folder") << "../site/thumbs"
                                                 << "images"
                                                 << "../images";
    QTest::newRow("spelled with slashes and dots") << "./www//thumbs/"
                                                   << "./images/."
                                                   << "../images";
    QTest::newRow("back down the way up") << "a/b/../thumbs"
                                          << "../a/images"
                                          << "../images";
    QTest::newRow("no thumbnail folder") << ""
                                         << "images"
                                         << "../images";
    // An absolute folder is found from anywhere; the root has no parent.
    QTest::newRow("both absolute") << "/www/thumbs"
                                   << "/www/images"
                                   << "../images";
    QTest::newRow("absolute thumbnails") << "/www/thumbs"
                                         << "images"
                                         << "../images";
    QTest::newRow("absolute, elsewhere") << "/a/thumbs"
                                         << "/b/c/images"
                                         << "../../b/c/images";
    QTest::newRow("thumbnails at the root") << "/"
                                            << "images"
                                            << "images";
    QTest::newRow("up from the root") << "/thumbs"
                                      << "../../images"
                                      << "../images";
    // The login folder is taken as the root.
    QTest::newRow("absolute images") << "www/thumbs"
                                     << "/www/images"
                                     << "../images";
    QTest::newRow("absolute images, thumbnails above the login folder") << "../thumbs"
                                                                        << "/images"
                                                                        << "../images";
}

void RemoteFoldersTest::findsTheImageFolderAsTheUploadWalks()
{
    QFETCH(QString, thumbnailDir);
    QFETCH(QString, imageDir);
    QTEST(imageFolderFromThumbnails(thumbnailDir, imageDir), "path");
}

void RemoteFoldersTest::sendsEachProfileToItsFolder()
{
    FtpSettings settings;
    settings.ThumbnailFtpDir = "www/thumbs";
    settings.ImageFtpDir = "images";
    GeneratedImages generated;
    generated.profiles = {
        {"thumbnails", {"/t/a01_t.jpg", "/t/a01_t.webp", "/t/a01_t@2x.jpg"}, false},
        {"large images", {"/l/a01.jpg", "/l/a01.avif"}, false}};
    generated.fragments = {"/t/a.html"};

    const std::vector<UploadFolder> folders = remoteFolders(settings, generated);
    QCOMPARE(folders.size(), size_t(2));
    QCOMPARE(folders[0].remoteDir, QStringLiteral("www/thumbs"));
    QCOMPARE(folders[0].files,
             QStringList({"/t/a01_t.jpg", "/t/a01_t.webp", "/t/a01_t@2x.jpg", "/t/a.html"}));
    QCOMPARE(folders[1].remoteDir, QStringLiteral("images"));
    QCOMPARE(folders[1].files, QStringList({"/l/a01.jpg", "/l/a01.avif"}));

    // A run refused before it started has nothing to send.
    const std::vector<UploadFolder> none = remoteFolders(settings, GeneratedImages());
    QVERIFY(none[0].files.isEmpty() && none[1].files.isEmpty());
}

QTEST_APPLESS_MAIN(RemoteFoldersTest)
#include "tst_remotefolders.moc"
