#pragma once

#include <QDialog>
#include <QTest>
#include <QTimer>

// Runs steps once the dialog's modal loop has started and the dialog is active. A failed
// check returns from the steps early; the dialog is then cancelled so that the test ends.
template <class Steps> void whileModal(QDialog& dialog, Steps steps)
{
    QTimer::singleShot(0, &dialog, [&dialog, steps] {
        [&] {
            QVERIFY(QTest::qWaitForWindowActive(&dialog));
            steps();
        }();
        if (dialog.isVisible())
            dialog.reject();
    });
}
