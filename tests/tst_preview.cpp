#include "PhotoPictures.h"
#include "TestHome.h"
#include "TestPictures.h"
#include "TestView.h"

#include "imaging/PreviewGeometry.h"
#include "view/PreviewFrame.h"

#include <QFrame>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>

class PreviewTest : public QObject
{
    Q_OBJECT

private:
    QString picture(const QString& name, QSize size)
    {
        const QString path = m_dir.filePath(name);
        if (!TestPictures::write(path, TestPictures::jpeg(size)))
            qFatal("cannot write %s", qPrintable(path));
        return path;
    }

    void click(int row)
    {
        CMSFlexGrid& grid = m_view->grid();
        QTest::mouseClick(grid.viewport(), Qt::LeftButton, Qt::NoModifier,
                          grid.visualItemRect(grid.item(row - 1, 0)).center());
    }

    bool workersRunning() const { return !m_view->findChildren<QThread*>().isEmpty(); }
    QFrame* frame() const { return m_view->findChild<QFrame*>("1032"); }
    PreviewFrame* previewFrame() const { return m_view->findChild<PreviewFrame*>("1032"); }
    QString previewFile() const { return m_dir.filePath("thumbPreview.jpg"); }

    TestHome m_dir;
    TestView m_view;
    QSize m_frameBox;

private slots:
    void initTestCase();
    void init();
    void cleanup();

    void clickShowsPreviewInFittedFrame();
    void previewStandsUpright_data();
    void previewStandsUpright();
    void headerRowWritesNothing();
    void unreadablePictureSaysSoInTheFrame();
    void lastClickWins();
    void paintDuringAddDoesNotWait();
    void closingRightAfterClickWaitsForWorker();
};

void PreviewTest::initTestCase()
{
    QVERIFY(m_dir.enter());
}

void PreviewTest::init()
{
    QFile::remove(previewFile());
    m_view.open();
    m_view.add({picture("wide.jpg", {400, 300}), picture("tall.jpg", {150, 200})});
    QVERIFY(m_view.show());
    // The box the frame is fitted into, as the form lays it out.
    m_frameBox = frame()->parentWidget()->size();
}

void PreviewTest::cleanup()
{
    m_view.reset();
}

void PreviewTest::clickShowsPreviewInFittedFrame()
{
    click(1);
    QTRY_COMPARE(TestPictures::jpegSize(previewFile()), QSize(117, 87));
    QTRY_VERIFY(!workersRunning());
    QTRY_COMPARE(frame()->size(), FitPreviewFrame(QSize(117, 87), m_frameBox));
    // The picture's first band is green; the frame shows it just inside its border.
    const QColor shown = frame()->grab().toImage().pixelColor(4, 4);
    QVERIFY2(shown.green() > 200 && shown.red() < 80, qPrintable(shown.name()));

    click(2);
    QTRY_COMPARE(TestPictures::jpegSize(previewFile()), QSize(87, 117));
    QTRY_COMPARE(frame()->size(), FitPreviewFrame(QSize(87, 117), m_frameBox));
}

void PreviewTest::previewStandsUpright_data()
{
    using namespace PhotoPictures;
    QTest::addColumn<QString>("name");
    QTest::addColumn<QByteArray>("file");

    QTest::newRow("phone photo held upright") << "IMG_0001.jpg" << phonePhoto(400, 300);
    QTest::newRow("HEIC held upright")
        << "IMG_0002.HEIC" << heic(*quarters(400, 300), heif_orientation_rotate_90_cw);
}

void PreviewTest::previewStandsUpright()
{
    QFETCH(QString, name);
    QFETCH(QByteArray, file);
    QVERIFY(TestPictures::write(m_dir.filePath(name), file));
    m_view.add({m_dir.filePath(name)});
    click(3);
    QTRY_COMPARE(TestPictures::jpegSize(previewFile()), QSize(87, 117));
    QTRY_VERIFY(!workersRunning());
    const GdImage preview = PhotoPictures::readJpeg(TestPictures::read(previewFile()));
    QCOMPARE(PhotoPictures::cornerQuarters(*preview, 3, 32), PhotoPictures::uprightCorners[5]);
    QTRY_COMPARE(frame()->size(), FitPreviewFrame(QSize(87, 117), m_frameBox));
}

void PreviewTest::headerRowWritesNothing()
{
    m_view->grid().setCurrentCell(-1, -1);
    m_view->OnClickGrid();
    QVERIFY(!workersRunning());
    QVERIFY(!QFile::exists(previewFile()));
}

// The frame says why instead of going on showing the picture clicked before.
void PreviewTest::unreadablePictureSaysSoInTheFrame()
{
    TestPictures::write(m_dir.filePath("broken.jpg"), "not a picture");
    m_view.add({m_dir.filePath("broken.jpg")});
    click(1);
    QTRY_VERIFY(QFile::exists(previewFile()));
    QTRY_VERIFY(!workersRunning());

    click(3);
    QTRY_COMPARE(previewFrame()->message(),
                 QStringLiteral("Cannot be read:\nNot a JPEG or HEIC picture"));
    m_view->repaint();
    QCOMPARE(frame()->size(), m_frameBox);
    QCOMPARE(previewFrame()->accessibleDescription(), previewFrame()->message());

    click(2);
    QTRY_VERIFY(previewFrame()->message().isEmpty());
    QTRY_COMPARE(frame()->size(), FitPreviewFrame(QSize(87, 117), m_frameBox));
}

// However the workers of quick clicks finish, the preview that stays is the last click's.
void PreviewTest::lastClickWins()
{
    for (int i = 0; i < 4; ++i) {
        click(1);
        click(2);
    }
    QTRY_VERIFY(!workersRunning());
    QCOMPARE(TestPictures::jpegSize(previewFile()), QSize(87, 117));
    QCOMPARE(frame()->size(), FitPreviewFrame(QSize(87, 117), m_frameBox));
}

void PreviewTest::paintDuringAddDoesNotWait()
{
    click(1);
    QTRY_VERIFY(QFile::exists(previewFile()));
    bool painted = false;
    m_view.prompter.whileChoosingFiles = [&] {
        m_view->repaint();
        painted = true;
    };
    m_view->OnAdd();
    m_view.prompter.whileChoosingFiles = nullptr;
    QVERIFY(painted);
}

void PreviewTest::closingRightAfterClickWaitsForWorker()
{
    click(1);
    click(2);
    m_view.reset();
    // The view waited for both workers, so a whole preview is on disk.
    QVERIFY(TestPictures::jpegSize(previewFile()).isValid());
}

QTEST_MAIN(PreviewTest)
#include "tst_preview.moc"
