#include "imaging/PreviewGeometry.h"

#include <QTest>

class PreviewGeometryTest : public QObject
{
    Q_OBJECT

private slots:
    void fitsLongerSideTo117_data();
    void fitsLongerSideTo117();
    void fitsFrameAroundPreview_data();
    void fitsFrameAroundPreview();
};

void PreviewGeometryTest::fitsLongerSideTo117_data()
{
    QTest::addColumn<QSize>("source");
    QTest::addColumn<QSize>("preview");

    QTest::newRow("landscape 4:3") << QSize(4000, 3000) << QSize(117, 87);
    QTest::newRow("portrait 3:4") << QSize(3000, 4000) << QSize(87, 117);
    QTest::newRow("square") << QSize(1000, 1000) << QSize(117, 117);
    QTest::newRow("small picture is enlarged") << QSize(100, 50) << QSize(117, 58);
    QTest::newRow("very wide keeps a pixel") << QSize(12000, 10) << QSize(117, 1);
    QTest::newRow("very tall keeps a pixel") << QSize(10, 12000) << QSize(1, 117);
}

void PreviewGeometryTest::fitsLongerSideTo117()
{
    QFETCH(QSize, source);
    QTEST(PreviewSize(source), "preview");
}

void PreviewGeometryTest::fitsFrameAroundPreview_data()
{
    QTest::addColumn<QSize>("picture");
    QTest::addColumn<QSize>("box");
    QTest::addColumn<QSize>("frame");

    QTest::newRow("fits with margin") << QSize(117, 87) << QSize(120, 130) << QSize(120, 90);
    QTest::newRow("portrait fits") << QSize(87, 117) << QSize(120, 130) << QSize(90, 120);
    QTest::newRow("too wide") << QSize(200, 100) << QSize(120, 130) << QSize(120, 60);
    QTest::newRow("too tall") << QSize(100, 200) << QSize(120, 130) << QSize(65, 130);
    QTest::newRow("other side may exceed box")
        << QSize(300, 280) << QSize(120, 100) << QSize(120, 112);
}

void PreviewGeometryTest::fitsFrameAroundPreview()
{
    QFETCH(QSize, picture);
    QFETCH(QSize, box);
    QTEST(FitPreviewFrame(picture, box), "frame");
}

QTEST_APPLESS_MAIN(PreviewGeometryTest)
#include "tst_previewgeometry.moc"
