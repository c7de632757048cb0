#include "base/EventWait.h"

#include <QCoreApplication>
#include <QTest>
#include <QTimer>
#include <QtConcurrent>

#include <atomic>

class EventWaitTest : public QObject
{
    Q_OBJECT

private slots:
    void timersFireWhileWaiting();
    void finishedWorkReturnsAtOnce();
};

// The work only ends once a timer of the waiting thread has fired: a wait that blocked the
// thread would never return.
void EventWaitTest::timersFireWhileWaiting()
{
    std::atomic<bool> timerFired = false;
    QTimer::singleShot(0, [&] {
        timerFired = true;
        timerFired.notify_one();
    });
    const int result = waitProcessingEvents(QtConcurrent::run([&] {
        timerFired.wait(false);
        return 42;
    }));
    QCOMPARE(result, 42);
}

void EventWaitTest::finishedWorkReturnsAtOnce()
{
    QFuture<QString> done = QtConcurrent::run([] { return QStringLiteral("done"); });
    done.waitForFinished();
    QCOMPARE(waitProcessingEvents(done), QStringLiteral("done"));
    waitProcessingEvents(QtConcurrent::run([] {}));
}

QTEST_GUILESS_MAIN(EventWaitTest)
#include "tst_eventwait.moc"
