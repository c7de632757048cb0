// morvane-list-bench: how long the list takes to take in and sort many pictures. Adding
// checks every path against those listed; with the list's set of paths that stays linear.

#include "base/ImageEntry.h"
#include "base/ImageList.h"
#include "imaging/ListOrder.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QStringList>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

constexpr int rounds = 3;

// Paths as cards and folders give them: a few folders of camera names, in shuffled order.
QStringList pathsFor(int count)
{
    QStringList paths;
    paths.reserve(count);
    for (int i = 0; i < count; ++i)
        paths << QStringLiteral("/home/me/Pictures/card%1/DSC_%2.JPG")
                     .arg(i % 7)
                     .arg((i * 7919) % count, 5, 10, QLatin1Char('0'));
    return paths;
}

// The fastest of a few rounds, in milliseconds: other work only ever slows a round down.
template <typename Work> double bestOf(Work work)
{
    double best = 1e300;
    for (int round = 0; round < rounds; ++round) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, timer.nsecsElapsed() / 1e6);
    }
    return best;
}

// The list as it was: every new path compared with every listed one.
void addOneByOne(const QStringList& paths)
{
    std::vector<ImageEntry> entries;
    for (const QString& path : paths) {
        if (std::any_of(entries.begin(), entries.end(),
                        [&](const ImageEntry& entry) { return entry.GetFullPath() == path; }))
            continue;
        ImageEntry entry;
        entry.SetPath(path);
        entries.push_back(entry);
    }
}

void addToTheList(const QStringList& paths)
{
    ImageList list;
    for (const QString& path : paths)
        list.addNew(path);
}

} // namespace

int main(int argc, char* argv[])
{
    const QCoreApplication application(argc, argv);
    std::printf("Adding paths to the list, each checked against those listed (best of %d):\n",
                rounds);
    for (const int count : {2000, 10000, 100000}) {
        const QStringList paths = pathsFor(count);
        const double linear = bestOf([&] { addToTheList(paths); });
        std::printf("  %6d paths: %8.1f ms", count, linear);
        if (count <= 10000)
            std::printf("   (compared one by one: %.1f ms)", bestOf([&] { addOneByOne(paths); }));
        std::printf("\n");
    }
    ImageList list;
    for (const QString& path : pathsFor(10000))
        list.addNew(path);
    const QLocale english(QLocale::English, QLocale::UnitedStates);
    std::printf("Sorting 10000 rows by file name: %.1f ms\n",
                bestOf([&] { listOrder(ListOrder::FileName, list, {}, english); }));
    return 0;
}
