#include "app/QtPrompter.h"

#include <QApplication>
#include <QFileDialog>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The real file dialog, looked at while it is open and then closed by the test.
class QtPrompterTest : public QObject
{
    Q_OBJECT

private slots:
    void fileDialogOffersJpegFirstThenHeifAndAllPictures();
};

void QtPrompterTest::fileDialogOffersJpegFirstThenHeifAndAllPictures()
{
    QTemporaryDir dir;
    QStringList filters;
    QString selected;
    QTimer::singleShot(0, [&] {
        auto* dialog = qobject_cast<QFileDialog*>(QApplication::activeModalWidget());
        if (!dialog)
            return;
        filters = dialog->nameFilters();
        selected = dialog->selectedNameFilter();
        dialog->reject();
    });
    QtPrompter prompter;
    QCOMPARE(prompter.openJpegFiles(dir.path()), QStringList());
    QCOMPARE(filters, QStringList({"JPEG Files (*.jpg, *.jpeg) (*.jpeg *.jpg)",
                                   "HEIF Files (*.heic, *.heif) (*.heic *.heif)",
                                   "All Pictures (*.jpeg *.jpg *.heic *.heif)"}));
    QCOMPARE(selected, filters.value(0));
}

QTEST_MAIN(QtPrompterTest)
#include "tst_qtprompter.moc"
