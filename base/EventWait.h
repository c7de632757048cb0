#pragma once

#include <QEventLoop>
#include <QFuture>
#include <QFutureWatcher>

#include <type_traits>

// Waits for work running on another thread while this thread goes on handling paint and
// timer events, so a window keeps drawing its progress. User input is held back until the
// work is done, as if the thread were busy with the work itself.
template <class T> T waitProcessingEvents(QFuture<T> future)
{
    QEventLoop loop;
    QFutureWatcher<T> watcher;
    QObject::connect(&watcher, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    // A future that is already finished still reports it, so the loop below always ends.
    watcher.setFuture(future);
    loop.exec(QEventLoop::ExcludeUserInputEvents);
    if constexpr (!std::is_void_v<T>)
        return future.result();
}
